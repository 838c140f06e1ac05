#include "core/prompter.h"
#include "core/remote/mailport.h"
#include "core/remote/remotetexts.h"
#include "mailbridge/osxmapi.h"
#include "mailbridge/parse/errortexts.h"

#include <string_view>
#include <vector>

namespace vsolo::remote {

namespace {

// The library's calls take no window here; its own macro for that is a C cast.
constexpr LHANDLE kNoWindow = 0;

// Counts the fields that the library's parser takes from a body, the way it takes them: after the
// two header separators, the text up to each "||" is a field and every `columns`-th field ends at
// SOH SOH instead; the tail that does not end so is no field. Line breaks are dropped first, as
// the parser drops them. Only whole records are then read from the table, so that no empty cell
// of a record cut short is mistaken for an empty description.
long completeRecords(std::string_view body, int columns) {
    std::string text;
    text.reserve(body.size());
    for (const char c : body) {
        if (c != '\r' && c != '\n') {
            text.push_back(c);
        }
    }
    constexpr std::string_view separator = "\x01\x01";
    std::size_t at = text.find(separator);
    if (at == std::string::npos) {
        return 0;
    }
    at = text.find(separator, at + separator.size());
    if (at == std::string::npos) {
        return 0;
    }
    std::size_t start = at + separator.size();
    long fields = 0;
    for (;;) {
        const bool last = fields % columns == columns - 1;
        const std::size_t mark = text.find(last ? separator : std::string_view("||"), start);
        if (mark == std::string::npos) {
            break;
        }
        ++fields;
        start = mark + 2;
    }
    return fields / columns;
}

std::string textOf(const char* text) {
    return text != nullptr ? text : "";
}

// "Name <address>", or whichever of the two the message gives.
std::string senderText(const std::string& name, const std::string& address) {
    if (name.empty() || address.empty()) {
        return name.empty() ? address : name;
    }
    return name + " <" + address + ">";
}

// Reads the message with the flags, hands a block read without failure to `take` and frees it.
template <typename Take>
ULONG readBlock(const std::string& id, FLAGS flags, Take take) {
    MapiMessage* message = nullptr;
    const ULONG code = mapiReadMail(kNoWindow, id.c_str(), flags, &message);
    if (message != nullptr) {
        if (code == 0) {
            take(*message);
        }
        mapiFreeBuffer(message);
    }
    return code;
}

class BridgePort final : public MailPort {
public:
    bool init() override { return InitMAPI() != 0; }
    std::string initFailure() override { return osxInitFailure(); }
    void deinit() override { DeInitMAPI(); }

    unsigned long logon(const std::string& profile, const std::string& password,
                        bool askUser) override {
        const FLAGS flags = MAPI_NEW_SESSION | (askUser ? MAPI_LOGON_UI : 0u);
        return mapiLogonEx(kNoWindow, profile.c_str(), password.c_str(), flags);
    }

    std::string failureCause() override { return osxFailureCause(); }

    void logoff() override { mapiLogoff(kNoWindow, 0); }

    unsigned long send(const std::string& subject, const std::string& body,
                       const std::string& messageType, const std::string& sender,
                       const std::string& receiver) override {
        return mapiSendMailEx(kNoWindow, 0, subject.c_str(), body.c_str(), messageType.c_str(),
                              sender.c_str(), sender.c_str(), receiver.c_str(), receiver.c_str());
    }

    unsigned long findNext(const std::string& messageType, const std::string& seed,
                           std::string& id) override {
        char found[OSX_MESSAGE_ID_SIZE] = {};
        const ULONG code =
            mapiFindNext(kNoWindow, messageType.c_str(), seed.c_str(), MAPI_LONG_MSGID, found);
        // The library writes at most the whole buffer; the last byte bounds a text it did not end.
        found[OSX_MESSAGE_ID_SIZE - 1] = '\0';
        id = code == 0 ? std::string(found) : std::string();
        return code;
    }

    unsigned long read(const std::string& id, std::string& noteText,
                       std::string& dateReceived) override {
        noteText.clear();
        dateReceived.clear();
        return readBlock(id, MAPI_PEEK | MAPI_SUPPRESS_ATTACH, [&](const MapiMessage& message) {
            noteText = textOf(message.lpszNoteText);
            dateReceived = textOf(message.lpszDateReceived);
        });
    }

    unsigned long envelope(const std::string& id, std::string& sender, std::string& dateReceived,
                           std::string& subject) override {
        sender.clear();
        dateReceived.clear();
        subject.clear();
        return readBlock(id, MAPI_PEEK | MAPI_ENVELOPE_ONLY, [&](const MapiMessage& message) {
            if (const MapiRecipDesc* from = message.lpOriginator) {
                sender = senderText(textOf(from->lpszName), textOf(from->lpszAddress));
            }
            dateReceived = textOf(message.lpszDateReceived);
            subject = textOf(message.lpszSubject);
        });
    }

    void quiet(bool on) override { mapiSuppressMessages(on ? 1 : 0); }

    unsigned long remove(const std::string& id) override {
        return mapiDeleteMail(kNoWindow, id.c_str());
    }

    BodyTable parse(const std::string& body, int columns) override {
        BodyTable table;
        if (columns < 1) {
            return table;
        }
        // The parser rewrites the buffer it is given and its cells point into it: it gets a copy
        // that lives until every cell is copied out.
        std::vector<char> buffer(body.begin(), body.end());
        buffer.push_back('\0');
        if (msgParseMessage(buffer.data(), columns) == 0) {
            return table;
        }
        table.parsed = true;
        table.resourceName = msgGetResourceName();
        table.recordCount = msgGetRecordCount();
        const long records = completeRecords(body, columns);
        table.rows.reserve(static_cast<std::size_t>(records));
        for (long row = 0; row < records; ++row) {
            std::vector<std::string> cells;
            cells.reserve(static_cast<std::size_t>(columns));
            for (int column = 0; column < columns; ++column) {
                cells.emplace_back(msgGetMessageField(static_cast<int>(row), column));
            }
            table.rows.push_back(std::move(cells));
        }
        return table;
    }
};

Prompter::Icon iconOf(unsigned style) {
    switch (style & 0xF0u) {
    case OSX_MB_ICONERROR:
        return Prompter::Icon::Stop;
    case OSX_MB_ICONWARNING:
        return Prompter::Icon::Warning;
    case OSX_MB_ICONINFORMATION:
        return Prompter::Icon::Information;
    default:
        return Prompter::Icon::None;
    }
}

int showBox(void* context, const char* text, const char* /*caption*/, unsigned style) {
    // The caption is the library's own title, which the prompter's boxes carry already.
    auto* prompter = static_cast<Prompter*>(context);
    if (prompter != nullptr) {
        prompter->show(mail::inUserLanguage(text != nullptr ? text : ""), iconOf(style));
    }
    return OSX_IDOK;
}

} // namespace

std::string mailUnusableText(MailPort& port) {
    std::string reason = port.initFailure();
    return reason.empty() ? std::string(tx(text::kMailUnusable)) : reason;
}

std::unique_ptr<MailPort> makeBridgePort() {
    return std::make_unique<BridgePort>();
}

void showMailBoxesThrough(Prompter* prompter) {
    if (prompter == nullptr) {
        osxSetUserInterface(nullptr);
        return;
    }
    OSxUserInterface ui{};
    ui.context = prompter;
    ui.messageBox = &showBox;
    ui.askPassword = nullptr;
    osxSetUserInterface(&ui);
}

} // namespace vsolo::remote
