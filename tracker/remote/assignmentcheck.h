#pragma once

#include "core/remote/mailport.h"

#include <functional>
#include <memory>

namespace vsolo {

class CSoloDoc;
class Prompter;

// Makes the port each exchange with the mail bridge goes through; tests hand in their own.
using MailPortMaker = std::function<std::unique_ptr<remote::MailPort>()>;

// The check a managed template gets when it has been read: with the wait cursor, applies the
// newest assignment update in the mailbox and tells the user what went wrong, if anything.
// True when the template's lists were replaced and saved, so that the views show them anew.
bool checkAssignmentUpdates(CSoloDoc& doc, Prompter& prompter, remote::MailPort& port);

} // namespace vsolo
