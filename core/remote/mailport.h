#pragma once

#include <memory>
#include <string>
#include <vector>

namespace vsolo {

class Prompter;

namespace remote {

// The result codes of the mail bridge that the exchange looks at.
inline constexpr unsigned long kMailSuccess = 0;
inline constexpr unsigned long kMailNoMessages = 16;

// A message body read as the program's table of cells: the resource name, the record count of
// its header and the records found, each with the columns asked for. `parsed` is false when the
// body is not a table (its rows are then empty).
struct BodyTable {
    bool parsed = false;
    std::string resourceName;
    int recordCount = 0;
    std::vector<std::vector<std::string>> rows; // complete records only
};

// What the exchange with the central server needs of the mail bridge, one call each; the real
// one (makeBridgePort) calls the library's exports in the order the library expects. Every
// method is called from the user-interface thread.
class MailPort {
public:
    virtual ~MailPort() = default;

    // InitMAPI: false when mail cannot be used.
    virtual bool init() = 0;
    // After an init() that failed: why, for the user in place of the general text ("" for no
    // reason known).
    virtual std::string initFailure() { return {}; }
    virtual void deinit() = 0;
    // mapiLogonEx with the profile and password; askUser adds MAPI_LOGON_UI. 0 on success.
    virtual unsigned long logon(const std::string& profile, const std::string& password,
                                bool askUser) = 0;
    // Why the last logon or send failed, as the mail bridge said it; "" when it said nothing.
    virtual std::string failureCause() { return {}; }
    virtual void logoff() = 0;
    // mapiSendMailEx: one message from the sender to the receiver (name and address each the
    // given address), with the subject and message type given.
    virtual unsigned long send(const std::string& subject, const std::string& body,
                               const std::string& messageType, const std::string& sender,
                               const std::string& receiver) = 0;
    // mapiFindNext: the identifier after `seed` ("" for the first) of the messages of the type;
    // kMailNoMessages after the last.
    virtual unsigned long findNext(const std::string& messageType, const std::string& seed,
                                   std::string& id) = 0;
    // mapiReadMail with MAPI_PEEK and MAPI_SUPPRESS_ATTACH: the note text and the received date
    // ("YYYY/MM/DD HH:MM").
    virtual unsigned long read(const std::string& id, std::string& noteText,
                               std::string& dateReceived) = 0;
    // mapiReadMail with MAPI_PEEK and MAPI_ENVELOPE_ONLY: the top-level header alone, which can
    // be read also of a message that read refuses. The sender is "Name <address>", or the
    // address alone when the message gives no name; the date is as read gives it.
    virtual unsigned long envelope(const std::string& id, std::string& sender,
                                   std::string& dateReceived, std::string& subject) = 0;
    // mapiSuppressMessages: while quiet, the library shows no error box, for a caller that tells
    // the user itself. The programs never keep it quiet otherwise.
    virtual void quiet(bool on) { (void)on; }
    // mapiDeleteMail.
    virtual unsigned long remove(const std::string& id) = 0;
    // The body as a table of `columns` columns (msgParseMessage and the cells it gives).
    virtual BodyTable parse(const std::string& body, int columns) = 0;
};

// What the user is told after an init() that failed: the port's reason, else the general text.
std::string mailUnusableText(MailPort& port);

// The port over the osxmapi library.
std::unique_ptr<MailPort> makeBridgePort();

// Makes the library show its boxes through the prompter (null: back to standard error). The
// prompter must outlive the library's use of it.
void showMailBoxesThrough(Prompter* prompter);

} // namespace remote
} // namespace vsolo
