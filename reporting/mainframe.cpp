#include "reporting/mainframe.h"

#include "core/prompter.h"
#include "core/settingsstore.h"
#include "platform/helpwindow.h"
#include "reporting/placement.h"
#include "reporting/reportinghelp.h"
#include "reporting/reportview.h"
#include "reporting/texts.h"

#include <QAction>
#include <QCloseEvent>
#include <QFileDialog>
#include <QMenuBar>
#include <QShortcut>
#include <QToolBar>

namespace vsolo::reporting {

namespace {

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

CMainFrame::CMainFrame(ReportingDocument& doc, Prompter& prompter, SettingsStore& store,
                       ReportEditors& editors)
    : m_doc(doc), m_prompter(prompter), m_store(store), m_editors(editors),
      m_view(new CVSReportView(doc.data(), prompter, this)) {
    setCentralWidget(m_view);

    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    addCommand(file, Command::New, QStringLiteral("&New\tCtrl+N"),
               QKeySequence(Qt::CTRL | Qt::Key_N));
    addCommand(file, Command::Open, QStringLiteral("&Open...\tCtrl+O"),
               QKeySequence(Qt::CTRL | Qt::Key_O));
    addCommand(file, Command::Save, QStringLiteral("&Save\tCtrl+S"),
               QKeySequence(Qt::CTRL | Qt::Key_S));
    file->addSeparator();
    addCommand(file, Command::Exit, QStringLiteral("E&xit"));

    QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    addCommand(edit, Command::Rates, {}, QKeySequence(Qt::Key_F2));
    addCommand(edit, Command::Expenses, {}, QKeySequence(Qt::Key_F3));
    addCommand(edit, Command::Clients, {}, QKeySequence(Qt::Key_F4));
    edit->addSeparator();
    addCommand(edit, Command::Preferences, QStringLiteral("&Preferences"));

    QMenu* reports = menuBar()->addMenu(QStringLiteral("&Reports"));
    addCommand(reports, Command::CreateReports, QStringLiteral("Create &Reports  F5"),
               QKeySequence(Qt::Key_F5));

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    addCommand(help, Command::HelpContents, QStringLiteral("&Contents and Index  F1"),
               QKeySequence(Qt::Key_F1));
    addCommand(help, Command::HelpOnReports, QStringLiteral("Help on &Reports"));

    QToolBar* tools = addToolBar(QStringLiteral("Main"));
    tools->setObjectName(QStringLiteral("mainToolBar"));
    // The menu texts carry their keys; the buttons show short names.
    const std::pair<Command, const char*> buttons[] = {{Command::Open, "Open"},
                                                       {Command::Save, "Save"},
                                                       {Command::CreateReports, "Create report"},
                                                       {Command::HelpContents, "Help"}};
    for (const auto& [command, name] : buttons) {
        action(command)->setIconText(QString::fromLatin1(name));
        tools->addAction(action(command));
        if (command == Command::Save) {
            tools->addSeparator();
        }
    }

    connect(m_view, &CVSReportView::modified, this, [this] {
        m_doc.setModified();
        setWindowModified(true);
    });
    applyTerms();
    restorePlacement();
    refill();
}

CMainFrame::~CMainFrame() = default;

QAction* CMainFrame::addCommand(QMenu* menu, Command command, const QString& text,
                                const QKeySequence& key) {
    auto* item = new QAction(text, this);
    menu->addAction(item);
    m_actions.insert(static_cast<int>(command), item);
    if (!key.isEmpty()) {
        // The menu text carries its key the way the user is used to reading it, so the key is
        // bound apart from the action; a disabled command ignores its key too.
        auto* shortcut = new QShortcut(key, this);
        connect(shortcut, &QShortcut::activated, item, &QAction::trigger);
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
        connect(item, &QAction::triggered, this, [this] {
            m_prompter.show(text::kReportsNotAvailable, Prompter::Icon::Information);
        });
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
    if (command != Command::Expenses) {
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
    m_view->setTerms(terms.client, terms.rate);
}

void CMainFrame::updateCommands() {
    const bool items = !m_view->treeIsEmpty();
    for (Command command : {Command::Rates, Command::Expenses, Command::Clients,
                            Command::CreateReports, Command::Preferences}) {
        action(command)->setEnabled(items);
    }
}

void CMainFrame::showMessages(const std::vector<ReportingResult>& messages) {
    for (const ReportingResult& message : messages) {
        if (!message.message.empty()) {
            m_prompter.show(message.message, Prompter::Icon::Warning);
        }
    }
}

void CMainFrame::refill() {
    m_view->fillLists();
    m_view->fillTree();
    m_view->selectFirstRoot();
    updateCommands();
    updateTitle();
}

void CMainFrame::updateTitle() {
    const QString title =
        m_doc.title().empty() ? QString::fromLatin1(text::kUntitled) : qs(m_doc.title());
    setWindowTitle(title + QStringLiteral("[*] - ") + QString::fromLatin1(text::kApplicationTitle));
    setWindowModified(m_doc.isModified());
}

void CMainFrame::newDocument(const std::optional<std::string>& templateLocation) {
    showMessages(m_doc.newDocument(templateLocation));
    m_doc.setModified(false);
    refill();
}

void CMainFrame::openTemplate(const QString& path) {
    const ReportingDocument::OpenOutcome outcome = m_doc.openDocument(path.toStdString());
    showMessages(outcome.messages);
    if (outcome.kind != ReportingDocument::OpenOutcome::Kind::Missing) {
        m_doc.setModified(false);
        refill();
    }
}

void CMainFrame::chooseTemplate() {
    if (!mayDiscardDocument()) {
        return;
    }
    const QString path =
        QFileDialog::getOpenFileName(this, QStringLiteral("Open"), qs(m_doc.data().folder()),
                                     QString::fromLatin1(text::kOpenFilter));
    if (!path.isEmpty()) {
        openTemplate(path);
    }
}

bool CMainFrame::save() {
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
    if (!m_doc.isModified()) {
        return true;
    }
    const std::string name = m_doc.path().empty() ? m_doc.title() : m_doc.path();
    switch (m_prompter.ask("Save changes to " + name + "?", Prompter::Buttons::YesNoCancel,
                           Prompter::Answer::Yes, Prompter::Icon::Warning)) {
    case Prompter::Answer::Yes:
        return save();
    case Prompter::Answer::No:
        return true;
    default:
        return false;
    }
}

void CMainFrame::restorePlacement() {
    const QRect stored = readWindowRect(m_store, CVSReportView::kWindowName);
    const QRect placed = pulledOntoScreen(stored, currentScreenAreas());
    resize(placed.size());
    move(placed.topLeft());
}

void CMainFrame::savePlacement() {
    const QRect inside = isMaximized() || isMinimized() ? normalGeometry() : geometry();
    const QPoint frameOffset = frameGeometry().topLeft() - geometry().topLeft();
    writeWindowRect(m_store, CVSReportView::kWindowName,
                    QRect(inside.topLeft() + frameOffset, inside.size()));
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (!mayDiscardDocument()) {
        event->ignore();
        return;
    }
    savePlacement();
    event->accept();
}

} // namespace vsolo::reporting
