#include "tracker/app/shownnames.h"

#include "core/base/placeholders.h"
#include "tracker/app/qtext.h"

#include <QAbstractButton>
#include <QFontMetrics>
#include <QLabel>
#include <string>
#include <vector>

namespace vsolo {

namespace {

struct NamedText {
    QString text;
    QString toolTip;
};

NamedText namedText(const QWidget& widget, const char* pattern,
                    std::initializer_list<std::string_view> names, bool mnemonics) {
    std::vector<std::string> shown;
    QString toolTip;
    bool cut = false;
    for (const std::string_view name : names) {
        QString text = shownName(widget, name);
        cut = cut || text != qs(name);
        // A rich-text tooltip wraps a long name instead of spanning the screen with it.
        toolTip += "<p>" + qs(name).toHtmlEscaped() + "</p>";
        shown.push_back(ss(mnemonics ? text.replace('&', "&&") : text));
    }
    shown.resize(2);
    const std::string text = fillPlaceholders(tx(pattern), {shown[0], shown[1]});
    return {qs(text), cut ? toolTip : QString()};
}

} // namespace

QString shownName(const QWidget& widget, std::string_view name) {
    const QFontMetrics metrics = widget.fontMetrics();
    return metrics.elidedText(qs(name), Qt::ElideRight,
                              kShownNameWidth * metrics.averageCharWidth());
}

void setTextWithNames(QLabel& label, const char* pattern,
                      std::initializer_list<std::string_view> names) {
    const NamedText shown = namedText(label, pattern, names, false);
    label.setTextFormat(Qt::PlainText);
    label.setText(shown.text);
    label.setToolTip(shown.toolTip);
}

void setTextWithNames(QAbstractButton& button, const char* pattern,
                      std::initializer_list<std::string_view> names) {
    const NamedText shown = namedText(button, pattern, names, true);
    button.setText(shown.text);
    button.setToolTip(shown.toolTip);
}

} // namespace vsolo
