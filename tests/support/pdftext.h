#pragma once

#include <algorithm>
#include <cstdio>
#include <regex>
#include <stdexcept>
#include <string>
#include <vector>

namespace vsolo::testing {

// The output of a shell command (the tools of poppler-utils, given file names made by the tests).
inline std::string commandOutput(const std::string& command) {
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) {
        throw std::runtime_error("cannot run " + command);
    }
    std::string out;
    char buffer[4096];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        out.append(buffer, n);
    }
    if (::pclose(pipe) != 0) {
        throw std::runtime_error("failed: " + command);
    }
    return out;
}

// The text of a PDF file as pdftotext lays it out, of one page or (page 0) of all pages.
inline std::string pdfText(const std::string& path, int page = 0) {
    std::string range;
    if (page > 0) {
        range = " -f " + std::to_string(page) + " -l " + std::to_string(page);
    }
    return commandOutput("pdftotext -layout" + range + " '" + path + "' -");
}

inline std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            if (start < text.size()) {
                out.push_back(text.substr(start));
            }
            break;
        }
        out.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return out;
}

// The words of a line, split at runs of spaces.
inline std::vector<std::string> words(const std::string& line) {
    std::vector<std::string> out;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && line[i] == ' ') {
            ++i;
        }
        const std::size_t start = i;
        while (i < line.size() && line[i] != ' ') {
            ++i;
        }
        if (i > start) {
            out.push_back(line.substr(start, i - start));
        }
    }
    return out;
}

// The line of the text whose words, spaces condensed, are exactly the given ones; -1 when none.
inline int findLine(const std::vector<std::string>& textLines,
                    const std::vector<std::string>& expected, int from = 0) {
    for (std::size_t i = static_cast<std::size_t>(from); i < textLines.size(); ++i) {
        if (words(textLines[i]) == expected) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

// The line of the text whose last words are the given ones; -1 when none.
inline int findLineEndingWith(const std::vector<std::string>& textLines,
                              const std::vector<std::string>& expected, int from = 0) {
    for (std::size_t i = static_cast<std::size_t>(from); i < textLines.size(); ++i) {
        const std::vector<std::string> found = words(textLines[i]);
        if (found.size() >= expected.size() &&
            std::equal(expected.begin(), expected.end(), found.end() - expected.size())) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

// The place in `expected` of the first line that is not found below the lines found before it
// (whole lines, or with atLineEnd the lines' last words); -1 when every one is found in order.
inline int firstMissingInOrder(const std::vector<std::string>& textLines,
                               const std::vector<std::vector<std::string>>& expected,
                               bool atLineEnd = false) {
    int at = 0;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const int found = atLineEnd ? findLineEndingWith(textLines, expected[i], at)
                                    : findLine(textLines, expected[i], at);
        if (found < 0) {
            return static_cast<int>(i);
        }
        at = found + 1;
    }
    return -1;
}

inline std::size_t countOf(const std::string& text, const std::string& what) {
    std::size_t count = 0;
    for (std::size_t at = text.find(what); at != std::string::npos;
         at = text.find(what, at + what.size())) {
        ++count;
    }
    return count;
}

// The number of pages and the page size in points, as pdfinfo reports them.
struct PdfInfo {
    int pages = 0;
    double width = 0;
    double height = 0;
};

inline PdfInfo pdfInfo(const std::string& path) {
    const std::string out = commandOutput("pdfinfo '" + path + "'");
    PdfInfo info;
    std::smatch m;
    if (std::regex_search(out, m, std::regex(R"(Pages:\s+(\d+))"))) {
        info.pages = std::stoi(m[1]);
    }
    if (std::regex_search(out, m, std::regex(R"(Page size:\s+([\d.]+) x ([\d.]+) pts)"))) {
        info.width = std::stod(m[1]);
        info.height = std::stod(m[2]);
    }
    return info;
}

// Where a word lies on its page, in points from the page's top left corner (pdftotext -bbox).
struct WordBox {
    double xMin = -1;
    double yMin = -1;
    double xMax = -1;
    double yMax = -1;
};

// The box of the word's occurrence counted from 0 in reading order.
inline WordBox pdfWordBox(const std::string& path, const std::string& word, int occurrence = 0) {
    const std::string out = commandOutput("pdftotext -bbox '" + path + "' -");
    const std::regex pattern(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re");
    for (auto it = std::sregex_iterator(out.begin(), out.end(), pattern);
         it != std::sregex_iterator(); ++it) {
        if ((*it)[5] == word && occurrence-- == 0) {
            return WordBox{std::stod((*it)[1]), std::stod((*it)[2]), std::stod((*it)[3]),
                           std::stod((*it)[4])};
        }
    }
    return {};
}

} // namespace vsolo::testing
