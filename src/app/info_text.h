#pragma once

#include <string>
#include <vector>

namespace somnar {

// The info window's paragraphs, each with the line breaks that lead into it.
std::vector<std::string> infoParagraphs(const std::string& programName,
                                        const std::string& executableExtension);

}  // namespace somnar
