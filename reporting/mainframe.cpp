#include "reporting/mainframe.h"

#include "core/base/clock.h"
#include "core/base/placeholders.h"
#include "core/prompter.h"
#include "core/settingsstore.h"
#include "platform/firstpaint.h"
#include "platform/helpwindow.h"
#include "platform/translations.h"
#include "reporting/dialogtexts.h"
#include "reporting/placement.h"
#include "reporting/reportinghelp.h"
#include "reporting/reportview.h"
#include "reporting/reportwindow.h"
#include "reporting/texts.h"

#include <QAction>
#include <QCloseEvent>
#include <QDateTime>
#include <QFileDialog>
#include <QMenuBar>
#include <QPrintDialog>
#include <QPrinter>
#include <QShortcut>
#include <QStatusBar>
#include <QToolBar>

namespace vsolo::reporting {

namespace {

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

// The system's print dialog, without page range, selection or printing to a file.
bool printDialog(QPrinter& printer, QWidget* parent) {
    QPrintDialog dialog(&printer, parent);
    dialog.setOptions(QAbstractPrintDialog::PrintShowPageSize);
    return dialog.exec() == QDialog::Accepted;
}

QToolBar* toolBar(QMainWindow& window, const char* name) {
    QToolBar* tools = window.addToolBar(QString::fromLatin1(name));
    tools->setObjectName(QString::fromLatin1(name));
    tools->setMovable(false);
    return tools;
}

} // namespace

CMainFrame::CMainFrame(ReportingDocument& doc, Prompter& prompter, SettingsStore& store,
                       ReportEditors& editors, ReportSettings& settings, const Clock& clock)
    : m_doc(doc), m_prompter(prompter), m_store(store), m_editors(editors), m_settings(settings),
      m_clock(clock), m_printerSetup(printDialog) {
    createMainForm();

    QMenu* file = menuBar()->addMenu(tr("&File"));
    addCommand(file, Command::New, tr("&New\tCtrl+N"), QKeySequence(Qt::CTRL | Qt::Key_N));
    addCommand(file, Command::Open, tr("&Open...\tCtrl+O"), QKeySequence(Qt::CTRL | Qt::Key_O));
    addCommand(file, Command::Save, tr("&Save\tCtrl+S"), QKeySequence(Qt::CTRL | Qt::Key_S));
    file->addSeparator();
    addCommand(file, Command::Exit, tr("E&xit"));

    QMenu* edit = menuBar()->addMenu(tr("&Edit"));
    addCommand(edit, Command::Rates, {}, QKeySequence(Qt::Key_F2));
    addCommand(edit, Command::Expenses, {}, QKeySequence(Qt::Key_F3));
    addCommand(edit, Command::Clients, {}, QKeySequence(Qt::Key_F4));
    edit->addSeparator();
    addCommand(edit, Command::Preferences, tr("&Preferences"));

    QMenu* reports = menuBar()->addMenu(tr("&Reports"));
    addCommand(reports, Command::CreateReports, tr("Create &Reports  F5"),
               QKeySequence(Qt::Key_F5));

    QMenu* help = menuBar()->addMenu(tr("&Help"));
    addCommand(help, Command::HelpContents, tr("&Contents and Index  F1"),
               QKeySequence(Qt::Key_F1));
    addCommand(help, Command::HelpOnReports, tr("Help on &Reports"));

    m_mainTools = toolBar(*this, "mainToolBar");
    // The menu texts carry their keys; the buttons show short names.
    const std::pair<Command, const char*> buttons[] = {
        {Command::Open, QT_TR_NOOP("Open")},
        {Command::Save, QT_TR_NOOP("Save")},
        {Command::CreateReports, QT_TR_NOOP("Create report")},
        {Command::HelpContents, QT_TR_NOOP("Help")}};
    for (const auto& [command, name] : buttons) {
        action(command)->setIconText(tr(name));
        m_mainTools->addAction(action(command));
        if (command == Command::Save) {
            m_mainTools->addSeparator();
        }
    }

    m_selectionTools = toolBar(*this, "selectionToolBar");
    m_selectionTools->addAction(
        addCommand(nullptr, Command::ReturnToMain, tr("Return to main window")));
    m_selectionTools->addSeparator();
    m_selectionTools->addAction(addCommand(nullptr, Command::Preview, tr("Preview")));
    m_selectionTools->addSeparator();
    action(Command::HelpOnReports)->setIconText(tr("Help on reports"));
    m_selectionTools->addAction(action(Command::HelpOnReports));

    m_reportTools = toolBar(*this, "reportToolBar");
    m_reportTools->addAction(
        addCommand(nullptr, Command::ReturnToPrevious, tr("Return to previous view")));
    m_reportTools->addSeparator();
    m_reportTools->addAction(
        addCommand(nullptr, Command::Print, tr("&Print"), QKeySequence(Qt::CTRL | Qt::Key_P)));
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, [this] { switchView(ViewType::Selection); });
    m_reportKeys.push_back(escape);

    showView(ViewType::Main, m_view);
    applyTerms();
    restorePlacement();
    refill();
}

CMainFrame::~CMainFrame() = default;

void CMainFrame::saveAtExit() {
    if (m_selectionForm && !m_selectionForm->writeSettings()) {
        m_prompter.show(tx(dialogtext::kSettingsNotWrittenAtExit), Prompter::Icon::Warning);
    }
}

QAction* CMainFrame::addCommand(QMenu* menu, Command command, const QString& text,
                                const QKeySequence& key) {
    auto* item = new QAction(text, this);
    if (menu) {
        menu->addAction(item);
    }
    m_actions.insert(static_cast<int>(command), item);
    if (!key.isEmpty()) {
        // The menu text carries its key the way the user is used to reading it, so the key is
        // bound apart from the action; a disabled command ignores its key too. Each key works in
        // the views whose commands it belongs to.
        auto* shortcut = new QShortcut(key, this);
        connect(shortcut, &QShortcut::activated, item, &QAction::trigger);
        (command == Command::Print ? m_reportKeys : m_mainKeys).push_back(shortcut);
    }
    switch (command) {
    case Command::New:
        connect(item, &QAction::triggered, this, [this] {
            if (mayDiscardDocument()) {
                newDocument(std::nullopt);
            }
        });
        break;
    case Command::Open:
        connect(item, &QAction::triggered, this, &CMainFrame::chooseTemplate);
        break;
    case Command::Save:
        connect(item, &QAction::triggered, this, &CMainFrame::save);
        break;
    case Command::Exit:
        connect(item, &QAction::triggered, this, &QWidget::close);
        break;
    case Command::CreateReports:
        connect(item, &QAction::triggered, this, [this] { switchView(ViewType::Selection); });
        break;
    case Command::ReturnToMain:
        connect(item, &QAction::triggered, this, [this] { switchView(ViewType::Main); });
        break;
    case Command::Preview:
        connect(item, &QAction::triggered, this, &CMainFrame::preview);
        break;
    case Command::ReturnToPrevious:
        connect(item, &QAction::triggered, this, [this] { switchView(ViewType::Selection); });
        break;
    case Command::Print:
        connect(item, &QAction::triggered, this, &CMainFrame::print);
        break;
    case Command::HelpContents:
        connect(item, &QAction::triggered, this,
                [] { HelpWindow::showHelp(ReportingHelp::Contents, false); });
        break;
    case Command::HelpOnReports:
        connect(item, &QAction::triggered, this,
                [] { HelpWindow::showHelp(ReportingHelp::Reports, false); });
        break;
    default:
        connect(item, &QAction::triggered, this, [this, command] { runEditor(command); });
        break;
    }
    return item;
}

QAction* CMainFrame::action(Command command) const {
    return m_actions.value(static_cast<int>(command), nullptr);
}

void CMainFrame::runEditor(Command command) {
    switch (command) {
    case Command::Rates:
        m_editors.rates(this);
        break;
    case Command::Expenses:
        m_editors.expenses(this);
        break;
    case Command::Clients:
        m_editors.clients(this);
        break;
    case Command::Preferences:
        if (m_editors.preferences(this)) {
            applyTerms();
        }
        return;
    default:
        return;
    }
    // The managers change the data as the user works; the lists show the result.
    m_doc.setModified();
    setWindowModified(true);
    if (command != Command::Expenses && m_view) {
        m_view->fillLists();
        m_view->showCurrent();
    }
}

void CMainFrame::applyTerms() {
    const Terms terms = m_editors.terms();
    const QString gap = QStringLiteral("  ");
    action(Command::Rates)->setText(terms.rate + gap + QStringLiteral("F2"));
    action(Command::Expenses)->setText(terms.expense + gap + QStringLiteral("F3"));
    action(Command::Clients)->setText(terms.client + gap + QStringLiteral("F4"));
    if (m_view) {
        m_view->setTerms(terms.client, terms.rate);
    }
}

void CMainFrame::updateCommands() {
    const bool items = m_view ? !m_view->treeIsEmpty() : !m_doc.data().items().empty();
    for (Command command : {Command::Rates, Command::Expenses, Command::Clients,
                            Command::CreateReports, Command::Preferences}) {
        action(command)->setEnabled(items);
    }
    // The reports are made from the transactions.
    if (m_doc.transactionsPending()) {
        action(Command::CreateReports)->setEnabled(false);
    }
    // Without a template the lists belong to no reporting file.
    action(Command::Save)->setEnabled(m_doc.hasTemplate());
}

void CMainFrame::showMessages(const std::vector<ReportingResult>& messages) {
    for (const ReportingResult& message : messages) {
        if (!message.message.empty()) {
            m_prompter.show(message.message, Prompter::Icon::Warning);
        }
    }
}

void CMainFrame::refill() {
    if (!m_view) {
        updateTitle();
        return;
    }
    m_view->fillLists();
    m_view->fillTree();
    m_view->selectFirstRoot();
    updateCommands();
    updateTitle();
}

void CMainFrame::updateTitle() {
    const QString title = m_doc.title().empty() ? tt(text::kUntitled) : qs(m_doc.title());
    setWindowTitle(title + QStringLiteral("[*] - ") + tt(text::kApplicationTitle));
    setWindowModified(m_doc.isModified());
}

void CMainFrame::newDocument(const std::optional<std::string>& templateLocation,
                             bool transactionsAfterPaint) {
    showMessages(m_doc.newDocument(templateLocation, transactionsAfterPaint));
    m_doc.setModified(false);
    refill();
    awaitTransactions();
}

void CMainFrame::openTemplate(const QString& path, bool transactionsAfterPaint) {
    const ReportingDocument::OpenOutcome outcome =
        m_doc.openDocument(path.toStdString(), transactionsAfterPaint);
    showMessages(outcome.messages);
    if (outcome.kind != ReportingDocument::OpenOutcome::Kind::Missing) {
        m_doc.setModified(false);
        refill();
    }
    awaitTransactions();
}

void CMainFrame::awaitTransactions() {
    if (!m_doc.transactionsPending()) {
        return;
    }
    statusBar()->showMessage(tt(text::kLoadingTransactions));
    updateCommands();
    auto runner = std::make_unique<AfterFirstPaint>([this] { takeInPendingTransactions(); });
    installEventFilter(runner.get());
    m_afterFirstPaint = std::move(runner);
}

void CMainFrame::takeInPendingTransactions() {
    if (!m_doc.transactionsPending()) {
        return;
    }
    showMessages(m_doc.takeInTransactions());
    // The window has no status bar of its own: the one that told of the loading goes.
    setStatusBar(nullptr);
    updateCommands();
}

void CMainFrame::chooseTemplate() {
    if (!mayDiscardDocument()) {
        return;
    }
    const QString path = QFileDialog::getOpenFileName(this, tr("Open"), qs(m_doc.data().folder()),
                                                      tt(text::kOpenFilter));
    if (!path.isEmpty()) {
        openTemplate(path);
    }
}

bool CMainFrame::save() {
    if (!m_doc.hasTemplate()) {
        m_prompter.show(tx(kNoTemplateToSaveText), Prompter::Icon::Information);
        return false;
    }
    if (m_doc.saveNeedsConfirmation() &&
        m_prompter.ask(m_doc.overwriteQuestion(), Prompter::Buttons::YesNo, Prompter::Answer::No) !=
            Prompter::Answer::Yes) {
        return false;
    }
    const ReportingResult result = m_doc.save();
    if (!result.ok()) {
        m_prompter.show(result.message, Prompter::Icon::Stop);
        return false;
    }
    setWindowModified(false);
    return true;
}

bool CMainFrame::mayDiscardDocument() {
    if (!m_doc.isModified() || !m_doc.hasTemplate()) {
        return true;
    }
    const std::string name = m_doc.path().empty() ? m_doc.title() : m_doc.path();
    switch (m_prompter.ask(fillPlaceholders(tx(text::kSaveChanges), {name}),
                           Prompter::Buttons::YesNoCancel, Prompter::Answer::Yes,
                           Prompter::Icon::Warning)) {
    case Prompter::Answer::Yes:
        return save();
    case Prompter::Answer::No:
        return true;
    default:
        return false;
    }
}

void CMainFrame::restorePlacement() {
    restoreRect(CVSReportView::kWindowName);
}

void CMainFrame::savePlacement() {
    storeRect(CVSReportView::kWindowName);
}

void CMainFrame::restoreRect(std::string_view name) {
    const QRect stored = readWindowRect(m_store, name);
    const QRect placed = pulledOntoScreen(stored, currentScreenAreas());
    resize(placed.size());
    move(placed.topLeft());
}

void CMainFrame::storeRect(std::string_view name) {
    const QRect inside = isMaximized() || isMinimized() ? normalGeometry() : geometry();
    const QPoint frameOffset = frameGeometry().topLeft() - geometry().topLeft();
    writeWindowRect(m_store, name, QRect(inside.topLeft() + frameOffset, inside.size()));
}

std::string_view CMainFrame::placementName(ViewType type) {
    switch (type) {
    case ViewType::Main:
        return "CVSReportView";
    case ViewType::Selection:
        return "CReportView";
    case ViewType::Projects:
        return "CProjectReportView";
    case ViewType::Clients:
        return "CClientReportView";
    case ViewType::Expenses:
        return "CExpenseReportView";
    case ViewType::Invoice:
        return "CInvoiceReportView";
    case ViewType::Rates:
        return "CRateReportView";
    }
    return {};
}

void CMainFrame::createMainForm() {
    m_view = new CVSReportView(m_doc.data(), m_prompter, this);
    connect(m_view, &CVSReportView::modified, this, [this] {
        m_doc.setModified();
        setWindowModified(true);
    });
}

ReportRequest CMainFrame::requestFor(ReportKind kind) const {
    ReportRequest request;
    request.kind = kind;
    request.period = m_selection.period;
    request.projects = m_selection.projects;
    request.settings = m_settings;
    // The clock reads local wall-clock time; the footer wants real seconds since 1970.
    const CalendarTime now = m_clock.now().toCalendar();
    request.today =
        QDateTime(QDate(now.year, now.month, now.day), QTime(now.hour, now.minute, now.second))
            .toSecsSinceEpoch();
    return request;
}

void CMainFrame::switchView(ViewType type) {
    if (type == m_viewType || (type != ViewType::Main && m_doc.transactionsPending())) {
        return;
    }
    if (type == ViewType::Main) {
        createMainForm();
        showView(type, m_view);
        applyTerms();
        refill();
        return;
    }
    if (type == ViewType::Selection) {
        showView(type, new CReportView(m_doc.data(), m_settings, m_store, m_prompter, this));
        connect(m_selectionForm, &CReportView::previewRequested, this, &CMainFrame::preview);
        return;
    }
    const auto kind = static_cast<ReportKind>(type);
    // An invoice of a transaction file read in part would look complete.
    if (const std::string& problem = m_doc.data().transactionsProblem();
        kind == ReportKind::Invoice && !problem.empty()) {
        m_prompter.show(problem, Prompter::Icon::Stop);
        return;
    }
    if (kind == ReportKind::Projects) {
        m_doc.data().sortItemsByName();
    } else if (kind == ReportKind::Expenses) {
        m_doc.data().sortExpensesByDate();
    }
    CReportWnd* report = createReportView(kind, m_doc.data(), requestFor(kind), this);
    if (!report->layOut()) {
        delete report;
        m_prompter.show(tx(text::kNoReportData), Prompter::Icon::Information);
        return;
    }
    showView(type, report);
}

void CMainFrame::showView(ViewType type, QWidget* view) {
    const bool wasReport = isReport();
    const bool switching = centralWidget() != nullptr;
    if (switching) {
        storeRect(placementName(m_viewType));
    }
    if (m_selectionForm && !m_selectionForm->writeSettings()) {
        m_prompter.show(tx(dialogtext::kSettingsNotWritten), Prompter::Icon::Warning);
    }
    m_viewType = type;
    m_view = type == ViewType::Main ? static_cast<CVSReportView*>(view) : nullptr;
    m_selectionForm = type == ViewType::Selection ? static_cast<CReportView*>(view) : nullptr;
    m_report = isReport() ? static_cast<CReportWnd*>(view) : nullptr;
    // The old view goes with its replacement.
    setCentralWidget(view);

    menuBar()->setVisible(type == ViewType::Main);
    m_mainTools->setVisible(type == ViewType::Main);
    m_selectionTools->setVisible(type == ViewType::Selection);
    m_reportTools->setVisible(isReport());
    for (QShortcut* key : m_mainKeys) {
        key->setEnabled(type == ViewType::Main);
    }
    for (QShortcut* key : m_reportKeys) {
        key->setEnabled(isReport());
    }
    if (isReport()) {
        setWindowState(windowState() | Qt::WindowMaximized);
    } else if (wasReport) {
        setWindowState(windowState() & ~Qt::WindowMaximized);
    }
    if (switching && !isReport()) {
        restoreRect(placementName(type));
    }
    view->setFocus();
}

void CMainFrame::preview() {
    if (!m_selectionForm) {
        return;
    }
    if (const std::optional<ReportChoice> choice = m_selectionForm->choose()) {
        m_selection = choice->selection;
        switchView(static_cast<ViewType>(choice->kind));
    }
}

void CMainFrame::print() {
    if (!m_report) {
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    if (!m_printerSetup(printer, this)) {
        return;
    }
    printer.setDocName(tt(kPrintJobName));
    if (m_report->print(printer) == PrintResult::Failed) {
        m_prompter.show(tx(text::kPrintFailed), Prompter::Icon::Stop);
    }
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    // Closing steps back to the view before; only the main form ends the program.
    if (m_viewType != ViewType::Main) {
        switchView(isReport() ? ViewType::Selection : ViewType::Main);
        event->ignore();
        return;
    }
    if (!mayDiscardDocument()) {
        event->ignore();
        return;
    }
    savePlacement();
    event->accept();
}

} // namespace vsolo::reporting
