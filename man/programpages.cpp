#include "man/manpage.h"

namespace vsolo {
namespace {

// What both programs share: how they are started, where their settings are, the variables.
constexpr PageItem kQtOptions = {
    "<Qt options>",
    "The options of every Qt program, among them `-platform` <NAME> (offscreen for a run without "
    "a display), `-display` <DISPLAY> and `-style` <STYLE>; see the Qt documentation."};
constexpr PageItem kConfigHome = {
    "XDG_CONFIG_HOME",
    "The folder of the settings files and the mail profiles; ~/.config when it is unset or empty."};
constexpr PageItem kRuntimeDir = {
    "XDG_RUNTIME_DIR",
    "The folder of the lock and the socket that keep one running copy per user; the temporary "
    "folder when it is unset or not writable."};
constexpr PageItem kLockWait = {
    "VSOLO_LOCK_WAIT",
    "How many seconds to wait for a file another program holds before giving up (0 to 3600)."};
constexpr PageItem kQpa = {"QT_QPA_PLATFORM",
                           "The window system to use, as the `-platform` option; offscreen draws "
                           "into memory without a display."};
constexpr PageItem kTemplateFiles[] = {
    {"<NAME>.tpl", "A template: the projects and their activities, with their targets."},
    {"<NAME>.trs", "The transactions recorded against the template of the same name."},
    {"<NAME>.rcv",
     "Time tracked but not yet in the transaction file: the running transaction, and finished "
     "ones the transaction file would not take, so that none is lost when the program ends."},
    {"<NAME>.tlx", "The targets, active flags and assignments of a legacy (version 2) template."},
    {"trans.dat, log.dat",
     "In the template's folder: the time sheet handed to the central server without e-mail."},
};

} // namespace

const ProgramPage& trackerPage() {
    static const ProgramPage page{
        "vsolo",
        "Veltimo Solo",
        "personal time tracker for projects and their activities",
        "[<TEMPLATE>] [<Qt options>]",
        {"Veltimo Solo keeps a tree of projects and their activities in a template and records the "
         "time worked on them: a click starts the clock on an activity and a second click stops "
         "it, and every stretch of time is stored in the template's transaction file at once. The "
         "time can also be entered and corrected by hand in the time sheet, printed in reports "
         "and graphs, exported, and sent to a central time-keeping server.",
         "One copy runs per user. Starting `vsolo` while a copy runs brings that copy to the "
         "front and, when a template is named, has it open that template."},
        {{"<TEMPLATE>",
          "The template to open. Without it the template that was open last is opened again."},
         kQtOptions,
         {"--quit-after-first-paint",
          "End as soon as the main window has been drawn; for measuring the start-up time."}},
        {kTemplateFiles[0],
         kTemplateFiles[1],
         kTemplateFiles[2],
         kTemplateFiles[3],
         kTemplateFiles[4],
         {"$XDG_CONFIG_HOME/Orvane Systems/Veltimo Solo.ini",
          "The tracker's settings: preferences, window places, the last template."},
         {"$XDG_CONFIG_HOME/Orvane Systems/Mail Profiles.ini",
          "The mail profiles through which time sheets are sent and assignment updates read."},
         {"$XDG_DATA_HOME/Orvane Systems/Veltimo Solo/",
          "While the user works on a local copy of a template: the copy (<NAME>.lcl) with its "
          "transaction and side files."}},
        {kConfigHome,
         {"XDG_DATA_HOME",
          "The folder of the local copies; ~/.local/share when it is unset or empty."},
         kRuntimeDir,
         kLockWait,
         kQpa},
        {"vsreport(1)", "vsolo-cli(1)"},
    };
    return page;
}

const ProgramPage& reportingPage() {
    static const ProgramPage page{
        "vsreport",
        "Veltimo Solo",
        "reports and invoices from the time recorded with Veltimo Solo",
        "[<TEMPLATE>] [<Qt options>]",
        {"Veltimo Solo Reporting reads the templates and the transactions of the Veltimo Solo "
         "tracker and lays them out as reports and invoices, on the screen or printed. The "
         "clients, the hourly rates and the expenses, and which client and rate each project "
         "bills, are kept in a reporting file beside the template.",
         "One copy runs per user: starting `vsreport` while a copy runs brings that copy to the "
         "front. The tracker starts it from its More Reports command."},
        {{"<TEMPLATE>",
          "The template to open. Without it a new document is started in the folder of the "
          "template the tracker had open last."},
         kQtOptions,
         {"--quit-after-first-paint",
          "End as soon as the main window has been drawn; for measuring the start-up time."}},
        {kTemplateFiles[0],
         kTemplateFiles[1],
         {"<NAME>.vsr", "The reporting file of the template of the same name: clients, rates, "
                        "expenses and the client and rate of each project."},
         {"$XDG_CONFIG_HOME/Orvane Systems/Veltimo Solo Reporting.ini",
          "The reporting tool's settings: preferences, report periods and selections."},
         {"$XDG_CONFIG_HOME/Orvane Systems/Veltimo Solo.ini",
          "The tracker's settings, read for the level titles and the last template."}},
        {kConfigHome, kRuntimeDir, kLockWait, kQpa},
        {"vsolo(1)", "vsolo-cli(1)"},
    };
    return page;
}

} // namespace vsolo
