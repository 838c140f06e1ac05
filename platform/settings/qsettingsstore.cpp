#include "platform/settings/qsettingsstore.h"

#include <QByteArray>
#include <QFile>
#include <QStringList>
#include <QVariant>

namespace vsolo {

namespace {

QString fromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

bool isUsableName(std::string_view name) {
    return !name.empty() && name.find_first_of("/\\") == std::string_view::npos;
}

// The QSettings key of a value, or an empty key when the section or the name cannot be one.
QString keyOf(std::string_view section, std::string_view name) {
    if (!isUsableName(section) || !isUsableName(name)) {
        return {};
    }
    return fromUtf8(section) + QLatin1Char('/') + fromUtf8(name);
}

constexpr QFile::Permissions kOwnerOnly = QFile::ReadOwner | QFile::WriteOwner;
constexpr QFile::Permissions kGroupOrOther = QFile::ReadGroup | QFile::WriteGroup |
                                             QFile::ExeGroup | QFile::ReadOther |
                                             QFile::WriteOther | QFile::ExeOther;

} // namespace

QSettingsStore::QSettingsStore(const QString& application, Access access, const QString& filePath)
    : m_application(application), m_filePath(filePath), m_readOnly(access == Access::ReadOnly),
      m_settings(open()) {}

QSettingsStore::~QSettingsStore() = default;

std::unique_ptr<QSettings> QSettingsStore::open() const {
    if (!m_filePath.isEmpty()) {
        return std::make_unique<QSettings>(m_filePath, QSettings::IniFormat);
    }
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                       QString::fromLatin1(kOrganisationName), m_application);
}

QString QSettingsStore::fileName() const {
    return m_settings->fileName();
}

QVariant QSettingsStore::value(std::string_view section, std::string_view name) const {
    const QString key = keyOf(section, name);
    if (key.isEmpty()) {
        return {};
    }
    if (m_readOnly) {
        // Picks up the file anew only when its size or time changed.
        m_settings->sync();
    }
    return m_settings->value(key);
}

std::optional<std::int32_t> QSettingsStore::readInt(std::string_view section,
                                                    std::string_view name) const {
    const QVariant v = value(section, name);
    if (!v.isValid() || v.typeId() == QMetaType::QStringList) {
        return std::nullopt;
    }
    bool ok = false;
    const int number = v.toString().trimmed().toInt(&ok, 10);
    if (!ok) {
        return std::nullopt;
    }
    return std::int32_t{number};
}

std::optional<std::string> QSettingsStore::readText(std::string_view section,
                                                    std::string_view name) const {
    const QVariant v = value(section, name);
    switch (v.typeId()) {
    case QMetaType::UnknownType:
        return std::nullopt;
    case QMetaType::QByteArray: {
        const QByteArray bytes = v.toByteArray();
        return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    }
    case QMetaType::QStringList:
        // An unquoted text with commas in a file edited by hand is read by QSettings as a list.
        return v.toStringList().join(QStringLiteral(", ")).toStdString();
    default:
        if (!v.canConvert<QString>()) {
            return std::nullopt;
        }
        return v.toString().toStdString();
    }
}

bool QSettingsStore::writeInt(std::string_view section, std::string_view name, std::int32_t value) {
    return write(section, name, QVariant(int{value}));
}

bool QSettingsStore::writeText(std::string_view section, std::string_view name,
                               std::string_view value) {
    const QString text = fromUtf8(value);
    const QByteArray bytes(value.data(), static_cast<qsizetype>(value.size()));
    // Invalid UTF-8 would come back with replacement characters; bytes come back as they were.
    if (text.toUtf8() != bytes) {
        return write(section, name, QVariant(bytes));
    }
    return write(section, name, QVariant(text));
}

void QSettingsStore::remove(std::string_view section, std::string_view name) {
    const QString key = keyOf(section, name);
    if (m_readOnly || key.isEmpty() || !m_settings->contains(key)) {
        return;
    }
    const QVariant previous = m_settings->value(key);
    m_settings->remove(key);
    commit(key, previous);
}

bool QSettingsStore::write(std::string_view section, std::string_view name, const QVariant& value) {
    const QString key = keyOf(section, name);
    if (m_readOnly || key.isEmpty()) {
        return false;
    }
    const QVariant previous = m_settings->value(key);
    m_settings->setValue(key, value);
    return commit(key, previous);
}

// Writes the file now. On failure the key gets its previous value back, so that this process does
// not read a value the disk never got, and QSettings is opened afresh because its error status
// would otherwise stay set for every later write.
bool QSettingsStore::commit(const QString& key, const QVariant& previous) {
    m_settings->sync();
    if (m_settings->status() == QSettings::NoError) {
        const QString file = m_settings->fileName();
        if (QFile::exists(file) && (QFile::permissions(file) & kGroupOrOther) != 0) {
            QFile::setPermissions(file, kOwnerOnly);
        }
        return true;
    }
    if (previous.isValid()) {
        m_settings->setValue(key, previous);
    } else {
        m_settings->remove(key);
    }
    m_settings = open();
    return false;
}

} // namespace vsolo
