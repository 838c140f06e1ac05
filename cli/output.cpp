#include "cli/output.h"

#include "cli/command.h"
#include "core/model/export.h"

#include <iostream>

namespace vsolo {

std::string causeOf(const FileError& error, const std::string& path) {
    return fileErrorCause(error, path);
}

std::string escaped(std::string_view text) {
    std::string out;
    for (char c : text) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\n':
            out += "\\n";
            break;
        default:
            out += c;
        }
    }
    return out;
}

Output::Output(const Arguments& args) {
    const auto it = args.options.find("-o");
    if (it != args.options.end()) {
        m_path = it->second;
    }
}

bool Output::open() {
    if (m_path.empty()) {
        return true;
    }
    FileError error;
    if (!m_writer.begin(m_path, error)) {
        std::cerr << "vsolo-cli: " << kExportCreateFailedText << " " << m_path << ": "
                  << causeOf(error, m_path) << '\n';
        return false;
    }
    return true;
}

bool Output::write(std::string_view bytes) {
    if (m_path.empty()) {
        std::cout.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return static_cast<bool>(std::cout);
    }
    return m_writer.write(bytes, m_error);
}

bool Output::finish(bool wrote) {
    if (m_path.empty()) {
        std::cout.flush();
        if (wrote && std::cout) {
            return true;
        }
        std::cerr << "vsolo-cli: writing the output failed\n";
        return false;
    }
    if (wrote && m_writer.commit(m_error)) {
        return true;
    }
    std::cerr << "vsolo-cli: writing " << m_path << " failed";
    if (m_error.code != 0 || m_error.osError != 0) {
        std::cerr << ": " << causeOf(m_error, m_path);
    }
    std::cerr << '\n';
    return false;
}

} // namespace vsolo
