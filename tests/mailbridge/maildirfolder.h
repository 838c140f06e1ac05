#pragma once

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace vsolo::testing {

// A temporary folder for one test, with a Maildir (new/, cur/, tmp/) in its "Maildir"
// subfolder; everything is removed afterwards.
class MaildirFolder {
public:
    MaildirFolder() {
        std::string pattern = "/tmp/vsolo-mail-XXXXXX";
        if (::mkdtemp(pattern.data()) == nullptr)
            throw std::runtime_error("mkdtemp failed");
        m_root = pattern;
        for (const char* sub : {"new", "cur", "tmp"})
            std::filesystem::create_directories(maildir() / sub);
    }
    ~MaildirFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(m_root, ignored);
    }
    MaildirFolder(const MaildirFolder&) = delete;
    MaildirFolder& operator=(const MaildirFolder&) = delete;

    // The temporary folder itself, for files beside the Maildir.
    const std::filesystem::path& root() const { return m_root; }
    std::filesystem::path maildir() const { return m_root / "Maildir"; }

    // Writes a message file into new/ or cur/ as a delivery would leave it.
    std::filesystem::path put(std::string_view sub, std::string_view name,
                              std::string_view bytes) const {
        const auto path = maildir() / sub / name;
        write(path, bytes);
        return path;
    }

    // The file names of new/ or cur/, sorted.
    std::vector<std::string> names(std::string_view sub) const {
        std::vector<std::string> found;
        for (const auto& entry : std::filesystem::directory_iterator(maildir() / sub))
            found.push_back(entry.path().filename().string());
        std::sort(found.begin(), found.end());
        return found;
    }

    static void write(const std::filesystem::path& path, std::string_view bytes) {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out)
            throw std::runtime_error("cannot write " + path.string());
    }

    static std::string read(const std::filesystem::path& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

private:
    std::filesystem::path m_root;
};

// A plain one-part message with LF line ends, written out as a mail system stores it.
inline std::string plainMessage(std::string_view type, std::string_view subject,
                                std::string_view body) {
    std::string text = "From: Ann Bee <ann@example.org>\nTo: desk@example.org\n";
    text += "Subject: " + std::string(subject) + "\n";
    if (!type.empty())
        text += "X-Message-Type: " + std::string(type) + "\n";
    text += "Content-Type: text/plain; charset=us-ascii\n\n";
    text += body;
    return text;
}

} // namespace vsolo::testing
