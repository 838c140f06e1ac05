#pragma once

#include "core/base/placeholders.h"
#include "core/base/usertext.h"
#include "platform/translations.h"

#include <QString>
#include <initializer_list>
#include <string>
#include <string_view>

// The core keeps its texts as UTF-8 in std::string; the widgets take QString.
namespace vsolo {

inline QString qs(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string ss(const QString& text) {
    return text.toStdString();
}

// A fixed text in the user's language with its placeholders filled in, for a widget.
inline QString fill(const char* pattern, std::initializer_list<std::string_view> values) {
    return qs(fillPlaceholders(tx(pattern), values));
}

} // namespace vsolo
