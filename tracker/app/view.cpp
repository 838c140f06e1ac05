#include "tracker/app/view.h"

namespace vsolo {

View::View(int number, QString windowName, int helpContext, QWidget* parent)
    : QWidget(parent), m_number(number), m_windowName(std::move(windowName)),
      m_helpContext(helpContext) {}

int View::trackerNotify(Tracker&, int, int) {
    return 0;
}

} // namespace vsolo
