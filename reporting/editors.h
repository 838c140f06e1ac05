#pragma once

#include "reporting/data/reportsettings.h"
#include "reporting/mainframe.h"

namespace vsolo::reporting {

// The Edit menu's dialogs: the managers and the preferences over the tool's data and settings.
class DialogEditors final : public ReportEditors {
public:
    DialogEditors(ReportingData& data, ReportSettings& settings, SettingsStore& own,
                  Prompter& prompter, const Clock& clock)
        : m_data(data), m_settings(settings), m_own(own), m_prompter(prompter), m_clock(clock) {}

    void rates(QWidget* parent) override;
    void expenses(QWidget* parent) override;
    void clients(QWidget* parent) override;
    bool preferences(QWidget* parent) override;
    Terms terms() const override;

private:
    ReportingData& m_data;
    ReportSettings& m_settings;
    SettingsStore& m_own;
    Prompter& m_prompter;
    const Clock& m_clock;
};

} // namespace vsolo::reporting
