#include "mailbridge/parse/errortexts.h"

namespace vsolo::mail {

const char* errorText(unsigned long code) {
    switch (code) {
    case 0:  // success
    case 16: // no messages: the end of a search, not a fault
        return nullptr;
    case 1:
        return "E-mail has not been sent.";
    case 2:
        return "General MAPI Failure";
    case 3:
        return "MAPI login procedure failed";
    case 4:
        return "An error occurred because the hard drive is running out of space";
    case 5:
        return "MAPI is encountering low memory problems";
    case 8:
        return "MAPI has too many sessions open";
    case 9:
        return "There are too many attachments";
    case 14:
        return "The recipient does not exist";
    case 15:
        return "MAPI recipient type was invalid";
    case 17:
        return "The message is not valid";
    case 18:
        return "The text in the message is too long";
    case 19:
        return "Invalid MAPI session";
    case 25:
        return "One or more recipients are invalid";
    default:
        return "A general MAPI error has occurred";
    }
}

std::optional<std::string> errorText(unsigned long code, std::string_view cause) {
    const char* text = errorText(code);
    if (text == nullptr) {
        return std::nullopt;
    }
    std::string shown = text;
    if (!cause.empty()) {
        shown.append(": ").append(cause);
    }
    return shown;
}

} // namespace vsolo::mail
