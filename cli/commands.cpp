// The command table. A command is its file in this folder and its entry here: the usage text,
// the option checks and the dispatch all come from this table.

#include "cli/commands.h"

namespace vsolo {

// The commands' run functions, one file each.
int runLevels(const Arguments& args);
int runExport(const Arguments& args);
int runUpgrade(const Arguments& args);
int runCheck(const Arguments& args);
int runPdf(const Arguments& args);
int runReport(const Arguments& args);
int runHub(const Arguments& args);
int runReceive(const Arguments& args);
int runSend(const Arguments& args);
int runVsr(const Arguments& args);
int runInvoice(const Arguments& args);

const std::vector<Command>& commands() {
    static const std::vector<Command> table = {
        {"levels",
         "TEMPLATE [-o FILE]",
         {"the template's header and level items as read, one tab-separated line each"},
         {"-o"},
         {},
         runLevels},
        {"export",
         "[--format csv|txt] [--from M/D/YYYY] [--to M/D/YYYY] TEMPLATE [-o FILE]",
         {"the transactions of the range in the time sheet's export form (default csv)"},
         {"--format", "--from", "--to", "-o"},
         {},
         runExport},
        {"report",
         "[--from M/D/YYYY] [--to M/D/YYYY] TEMPLATE [-o FILE]",
         {"the rows of the time study report of the range, one tab-separated line each"},
         {"--from", "--to", "-o"},
         {},
         runReport},
        {"upgrade",
         "TEMPLATE",
         {"converts a version 3 template and its transactions to version 4"},
         {},
         {},
         runUpgrade},
        {"check",
         "TEMPLATE [-o FILE]",
         {"counts the level items and transactions; exit 1 when a file is damaged, or when the",
          "transaction file ends in a record cut short (the complete ones are counted)"},
         {"-o"},
         {},
         runCheck},
        {"pdf",
         "timesheet|report|graph|pie1|pie2|invoice|clients|projects|rates|expenses "
         "[--from M/D/YYYY] [--to M/D/YYYY] [--project NAME]... [--paper letter|a4] TEMPLATE "
         "-o FILE.pdf",
         {"the printed time sheet, time study report, time study graph or level-1 or level-2",
          "pie graph of the range as a PDF file (default paper letter); or one of the reporting",
          "tool's reports of the range as `invoice` does: the invoice, the clients, projects or",
          "rates list or the expense report (invoice and expenses need --project)"},
         {"--from", "--to", "--project", "--paper", "-o"},
         // The report comes first, so that later reports find their place beside the time sheet.
         {"timesheet", "report", "graph", "pie1", "pie2", "invoice", "clients", "projects", "rates",
          "expenses"},
         runPdf},
        {"hub",
         "collect [--profile NAME] [--password TEXT|-] FILE | assign --to ADDRESS [--from ADDRESS] "
         "[--resource NAME] [--profile NAME] [--password TEXT|-] TEMPLATE",
         {"collect: appends every time sheet received in the mail profile's mailbox (default",
          "profile without --profile) to FILE as hand-off records, then removes them from the",
          "mailbox; assign: mails to ADDRESS an assignment update that lists the template's level",
          "items for the resource NAME (default: the template's base name); the password of the",
          "profile's mailbox is read from the first line of standard input with --password -,",
          "and from the environment variable VSOLO_MAIL_PASSWORD without --password (other",
          "users can see a password given on the command line)"},
         {"--profile", "--password", "--to", "--from", "--resource"},
         {"collect", "assign"},
         runHub},
        {"receive",
         "[--delete-refused] TEMPLATE",
         {"applies the newest assignment update for the managed template from the mailbox of",
          "the tracker's mail profile, saves the template and deletes the used and older updates;",
          "an update refused as not valid is not applied (exit 2) and stays in the mailbox, or",
          "with --delete-refused is deleted from it; a message that cannot be read is passed over,",
          "left in the mailbox and named on standard error; a name or description longer than the",
          "template's fields hold, or with a character they cannot store, is stored shortened (the",
          "character as \"?\") and told on standard error, a name as it was and as it is now"},
         {},
         {},
         runReceive,
         {"--delete-refused"}},
        {"send",
         "[--from M/D/YYYY] [--to M/D/YYYY] --keep|--delete TEMPLATE",
         {"hands the unsent transactions of the range of a managed template to the central",
          "server, by e-mail when the tracker's \"Remote\" setting is on, else to the hand-off",
          "files; lists the days outside the daily hours first; then keeps the sent days marked",
          "as sent (--keep) or deletes them (--delete)"},
         {"--from", "--to"},
         {},
         runSend,
         {"--keep", "--delete"}},
        {"vsr",
         "TEMPLATE [-o FILE]",
         {"the reporting tool's file beside the template as read, one tab-separated line per",
          "expense, rate, client and assignment record; exit 1 when the file is damaged"},
         {"-o"},
         {},
         runVsr},
        {"invoice",
         "[--from M/D/YYYY] [--to M/D/YYYY] --project NAME [--project NAME]... TEMPLATE [-o FILE]",
         {"the reporting tool's invoice of the named level-1 items (any case) for the whole days",
          "from --from through --to (default: the tool's period), one line per printed line, the",
          "name, hours, hourly rate and amount separated by tabs; reads the template's reporting",
          "file and the tool's settings, never writes them"},
         {"--from", "--to", "--project", "-o"},
         {},
         runInvoice},
    };
    return table;
}

} // namespace vsolo
