#include "platform/linux/linux_host_address.h"

#include "backends/test_environment.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <arpa/inet.h>

#include <chrono>
#include <cstdio>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace somnar {
namespace {

using test::commandOutput;

using namespace std::chrono_literals;
using ::testing::Contains;
using ::testing::IsEmpty;
using Clock = std::chrono::steady_clock;

constexpr Ipv4Address kLoopback = {127, 0, 0, 1};

Ipv4Address parse(const std::string& dotted) {
    Ipv4Address bytes{};
    EXPECT_EQ(::inet_pton(AF_INET, dotted.c_str(), bytes.data()), 1) << dotted;
    return bytes;
}

TEST(HostAddressTest, HostNameIsWhatHostnamePrints) {
    std::string printed = commandOutput("hostname");
    while (!printed.empty() && (printed.back() == '\n' || printed.back() == ' ')) {
        printed.pop_back();
    }
    ASSERT_FALSE(printed.empty());
    const HostNameResult result = LinuxHostAddress().hostName();
    EXPECT_EQ(result.name, printed);
    EXPECT_EQ(result.errorCode, 0);
}

TEST(HostAddressTest, LocalhostResolvesToLoopbackOnce) {
    const std::vector<Ipv4Address> addresses = LinuxHostAddress().resolveIpv4("localhost");
    EXPECT_THAT(addresses, Contains(kLoopback).Times(1));
}

TEST(HostAddressTest, ResolvedAddressesKeepTheResolversOrderWithoutRepeats) {
    // The same name through `getent ahostsv4`, which lists each address per socket type.
    LinuxHostAddress host;
    const auto name = host.hostName().name;
    ASSERT_TRUE(name.has_value());
    std::vector<Ipv4Address> expected;
    std::istringstream lines(commandOutput("getent ahostsv4 '" + *name + "'"));
    for (std::string line; std::getline(lines, line);) {
        std::istringstream words(line);
        std::string address, type;
        if (words >> address >> type && type == "STREAM") {
            expected.push_back(parse(address));
        }
    }
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(host.resolveIpv4(*name), expected);
}

TEST(HostAddressTest, DottedAddressResolvesToItsBytesInOrder) {
    const std::vector<Ipv4Address> expected = {{10, 0, 0, 1}};
    EXPECT_EQ(LinuxHostAddress().resolveIpv4("10.0.0.1"), expected);
}

TEST(HostAddressTest, UnknownNameGivesNothingQuickly) {
    const auto start = Clock::now();
    EXPECT_THAT(LinuxHostAddress().resolveIpv4("no-such-host.invalid"), IsEmpty());
    EXPECT_THAT(LinuxHostAddress().resolveIpv4(""), IsEmpty());
    EXPECT_LT(Clock::now() - start, 10s);
}

TEST(HostAddressTest, InterfaceAddressesAreThoseIpListsAsUp) {
    std::set<Ipv4Address> expected;
    std::istringstream lines(commandOutput("ip -4 -o addr show up"));
    for (std::string line; std::getline(lines, line);) {
        std::istringstream words(line);
        std::vector<std::string> tokens;
        for (std::string word; words >> word;) {
            tokens.push_back(word);
        }
        for (std::size_t i = 0; i + 1 < tokens.size(); ++i) {
            if (tokens[i] == "inet") {
                expected.insert(parse(tokens[i + 1].substr(0, tokens[i + 1].find('/'))));
            }
        }
    }
    ASSERT_THAT(expected, Contains(kLoopback));
    const std::vector<Ipv4Address> found = LinuxHostAddress().interfaceIpv4();
    EXPECT_EQ(std::set<Ipv4Address>(found.begin(), found.end()), expected);
    EXPECT_EQ(found.size(), expected.size());  // each once
}

}  // namespace
}  // namespace somnar
