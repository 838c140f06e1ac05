#pragma once

#include "core/settingsstore.h"

#include <QSettings>
#include <QString>
#include <QVariant>
#include <memory>

namespace vsolo {

inline constexpr char kOrganisationName[] = "Orvane Systems";
inline constexpr char kTrackerApplicationName[] = "Veltimo Solo";
inline constexpr char kReportingApplicationName[] = "Veltimo Solo Reporting";

// The per-user settings store on QSettings in INI format: one INI group per section, one key per
// name. Texts are UTF-8 and survive a round trip whatever characters they hold; a text that is not
// valid UTF-8 (a path made of raw bytes) is kept as bytes. Every write reaches the disk before it
// reports success, so that another program started next sees it. The file is made readable by its
// owner only, because it holds the mail password as plain text.
class QSettingsStore final : public SettingsStore {
public:
    enum class Access { ReadWrite, ReadOnly };

    // The user's store of the application under the organisation's folder, or, when filePath is
    // not empty, the INI file at that path. A read-only store never creates or changes the file
    // and rereads it when it has changed on disk, so that the reporting tool sees what the
    // tracker wrote.
    explicit QSettingsStore(
        const QString& application = QString::fromLatin1(kTrackerApplicationName),
        Access access = Access::ReadWrite, const QString& filePath = {});
    ~QSettingsStore() override;
    QSettingsStore(const QSettingsStore&) = delete;
    QSettingsStore& operator=(const QSettingsStore&) = delete;

    // A section or name that is empty or holds "/" or "\" (QSettings' group separators) is never
    // found and cannot be written.
    std::optional<std::int32_t> readInt(std::string_view section,
                                        std::string_view name) const override;
    std::optional<std::string> readText(std::string_view section,
                                        std::string_view name) const override;
    // False when the store is read-only or the file could not be written; the value then stays
    // as it was.
    bool writeInt(std::string_view section, std::string_view name, std::int32_t value) override;
    bool writeText(std::string_view section, std::string_view name,
                   std::string_view value) override;
    void remove(std::string_view section, std::string_view name) override;

    QString fileName() const;
    bool isReadOnly() const { return m_readOnly; }

private:
    std::unique_ptr<QSettings> open() const;
    QVariant value(std::string_view section, std::string_view name) const;
    bool write(std::string_view section, std::string_view name, const QVariant& value);
    bool commit(const QString& key, const QVariant& previous);

    QString m_application;
    QString m_filePath;
    bool m_readOnly;
    std::unique_ptr<QSettings> m_settings;
};

} // namespace vsolo
