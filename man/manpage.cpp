#include "man/manpage.h"

#include <cctype>

namespace vsolo {
namespace {

// Text as roff shows it: a backslash must be written as \e, the dashes of an option as \- so that
// options can be copied and searched for (a dash inside a word stays a hyphen), and a line must
// not begin with a control character. Words in backquotes are command names and are set in bold;
// with `angles`, words in <angle quotes> are placeholders and are set in italics.
std::string roff(std::string_view text, bool angles = false) {
    std::string out;
    bool bold = false;
    bool italic = false;
    for (const char c : text) {
        if (c == '\\') {
            out += "\\e";
        } else if (c == '-' &&
                   (out.empty() || !std::isalnum(static_cast<unsigned char>(out.back())))) {
            out += "\\-";
        } else if (c == '`') {
            out += bold ? "\\fR" : "\\fB";
            bold = !bold;
        } else if (angles && (c == '<' || c == '>')) {
            out += c == '<' ? "\\fI" : "\\fR";
            italic = c == '<';
        } else {
            if ((c == '.' || c == '\'') && (out.empty() || out.back() == '\n')) {
                out += "\\&";
            }
            out += c;
        }
    }
    return bold || italic ? out + "\\fR" : out;
}

// The usage lines of a command are one sentence broken for the terminal: the page fills them.
std::string paragraph(const std::vector<std::string_view>& lines) {
    std::string text;
    for (const std::string_view line : lines) {
        if (!text.empty()) {
            text += ' ';
        }
        text += line;
    }
    return roff(text);
}

// The notes keep their line breaks as sentence flow, but roff starts a new sentence on each input
// line, so they are filled the same way.
std::string filled(std::string_view notes) {
    std::vector<std::string_view> lines;
    while (!notes.empty()) {
        const auto end = notes.find('\n');
        lines.push_back(notes.substr(0, end));
        notes = end == std::string_view::npos ? std::string_view() : notes.substr(end + 1);
    }
    return paragraph(lines);
}

// A list of terms, each with its text indented below it.
std::string itemList(std::string_view heading, const std::vector<PageItem>& items) {
    if (items.empty()) {
        return {};
    }
    std::string out = ".SH " + std::string(heading) + "\n";
    for (const PageItem& item : items) {
        out += ".TP\n" + roff(item.term, true) + "\n" + roff(item.text, true) + "\n";
    }
    return out;
}

std::string upper(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return out;
}

} // namespace

std::string manPage(const ProgramPage& page, std::string_view version) {
    std::string out = ".TH " + roff(upper(page.name)) + " 1 \"\" \"" + roff(page.title) + " " +
                      roff(version) + "\" \"User Commands\"\n" + ".SH NAME\n" + roff(page.name) +
                      " \\- " + roff(page.summary) + "\n" + ".SH SYNOPSIS\n" + ".B " +
                      roff(page.name) + "\n" + roff(page.synopsis, true) + "\n" +
                      ".SH DESCRIPTION\n";
    for (std::size_t i = 0; i < page.description.size(); ++i) {
        out += i == 0 ? "" : ".PP\n";
        out += roff(page.description[i], true) + "\n";
    }
    out += itemList("OPTIONS", page.options) + itemList("FILES", page.files) +
           itemList("ENVIRONMENT", page.environment);
    if (!page.seeAlso.empty()) {
        out += ".SH SEE ALSO\n";
        for (std::size_t i = 0; i < page.seeAlso.size(); ++i) {
            const std::string_view see = page.seeAlso[i];
            const auto paren = see.find('(');
            out += ".BR " + roff(see.substr(0, paren)) + " " + std::string(see.substr(paren)) +
                   (i + 1 < page.seeAlso.size() ? "," : "") + "\n";
        }
    }
    return out;
}

std::string manPage(const std::vector<Command>& table, std::string_view notes,
                    std::string_view version) {
    std::string page = ".TH VSOLO\\-CLI 1 \"\" \"Veltimo Solo " + roff(version) +
                       "\" \"User Commands\"\n"
                       ".SH NAME\n"
                       "vsolo\\-cli \\- exports, listings, checks and printed reports of Veltimo "
                       "Solo's files\n"
                       ".SH SYNOPSIS\n"
                       ".B vsolo\\-cli\n"
                       ".I COMMAND\n"
                       "[\\fIOPTIONS\\fR]\n"
                       ".br\n"
                       ".B vsolo\\-cli\n"
                       ".I COMMAND\n"
                       "\\-\\-help | \\-h\n"
                       ".br\n"
                       ".B vsolo\\-cli\n"
                       "\\-\\-help | \\-\\-version\n"
                       ".SH DESCRIPTION\n"
                       "Reads the tracker's template and transaction files and the reporting "
                       "tool's files without a window. Output goes to standard output unless "
                       "\\fB\\-o\\fR \\fIFILE\\fR is given; errors go to standard error. "
                       "\\fB\\-\\-help\\fR after a command prints that command's usage, "
                       "\\fB\\-\\-help\\fR alone the usage of every command, and "
                       "\\fB\\-\\-version\\fR the version.\n"
                       ".SH COMMANDS\n";
    for (const Command& command : table) {
        page += ".TP\n\\fB" + roff(command.name) + "\\fR " + roff(command.synopsis) + "\n" +
                paragraph(command.description) + "\n";
    }
    page += ".SH NOTES\n" + filled(notes) + "\n";
    page += ".SH EXIT STATUS\n"
            ".TP\n0\nthe command did what was asked.\n"
            ".TP\n" +
            std::to_string(kExitDamaged) +
            "\n\\fBcheck\\fR or \\fBvsr\\fR found a damaged file.\n" + ".TP\n" +
            std::to_string(kExitError) +
            "\nthe command line was wrong, or anything else went wrong; the reason is on standard "
            "error.\n";
    return page;
}

} // namespace vsolo
