#pragma once

#include <curl/curl.h>

#include <cstdio>
#include <memory>

namespace somnar {

// Owners of what libcurl and the C library hand out, each freed by its own function.
struct CurlEasyCleanup {
    void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
};
struct CurlSlistFree {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
struct CurlFree {
    void operator()(char* text) const { curl_free(text); }
};
struct FileClose {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

using CurlEasy = std::unique_ptr<CURL, CurlEasyCleanup>;
using CurlSlist = std::unique_ptr<curl_slist, CurlSlistFree>;
using CurlText = std::unique_ptr<char, CurlFree>;
using UniqueFile = std::unique_ptr<std::FILE, FileClose>;

}  // namespace somnar
