#pragma once

#include "platform/settings/qsettingsstore.h"

#include <QString>

namespace vsolo::reporting {

// The two settings stores of the reporting tool: its own area "Veltimo Solo Reporting", an INI
// file readable by its owner only, and the tracker's, opened read-only for its level titles and
// template location. Empty paths mean the user's stores; tests give files of their own.
struct ReportingStores {
    explicit ReportingStores(const QString& ownFile = {}, const QString& trackerFile = {})
        : own(QString::fromLatin1(kReportingApplicationName), QSettingsStore::Access::ReadWrite,
              ownFile),
          tracker(QString::fromLatin1(kTrackerApplicationName), QSettingsStore::Access::ReadOnly,
                  trackerFile) {}

    QSettingsStore own;
    QSettingsStore tracker;
};

} // namespace vsolo::reporting
