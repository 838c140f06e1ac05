#include "tracker/remote/advisorydialog.h"

#include "core/remote/remotetexts.h"
#include "tracker/app/qtext.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace vsolo {

namespace {

constexpr int kDateColumnWidth = 200;
constexpr int kHoursColumnWidth = 75;

} // namespace

CAdvisoryDlg::CAdvisoryDlg(TimeValue minimum, TimeValue maximum, std::vector<AdvisedDayRow> days,
                           QWidget* parent)
    : QDialog(parent),
      m_heading(new QLabel(qs(fillPlaceholders(tx(remote::text::kAdvisoryHeading),
                                               {minimum.formatDuration(kDurationDayHours),
                                                maximum.formatDuration(kDurationDayHours)})),
                           this)),
      m_list(new QTreeWidget(this)), m_yes(new QPushButton(tt(remote::text::kAdvisoryYes), this)),
      m_no(new QPushButton(tt(remote::text::kAdvisoryNo), this)),
      m_cancel(new QPushButton(tt(remote::text::kAdvisoryCancel), this)) {
    setWindowTitle(tt(remote::text::kAdvisoryCaption));
    m_heading->setWordWrap(true);

    m_list->setRootIsDecorated(false);
    m_list->setSelectionMode(QAbstractItemView::NoSelection);
    m_list->setHeaderLabels(tt(remote::text::kAdvisoryColumns).split('\t'));
    m_list->header()->setStretchLastSection(false);
    m_list->header()->resizeSection(0, kDateColumnWidth);
    m_list->header()->resizeSection(1, kHoursColumnWidth);
    // Both columns whole, beside the scroll bar that a long list brings.
    m_list->setMinimumWidth(kDateColumnWidth + kHoursColumnWidth + 2 * m_list->frameWidth() +
                            m_list->verticalScrollBar()->sizeHint().width());
    std::stable_sort(days.begin(), days.end(), [](const AdvisedDayRow& a, const AdvisedDayRow& b) {
        return a.date < b.date;
    });
    for (const AdvisedDayRow& day : days) {
        auto* row = new QTreeWidgetItem(
            m_list, {qs(day.date.longDate()), qs(day.worked.formatDuration(kDurationDayHours))});
        row->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
    }

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* button : {m_yes, m_no, m_cancel}) {
        buttons->addWidget(button);
    }
    m_yes->setDefault(true);
    connect(m_yes, &QPushButton::clicked, this, [this] { done(EditFirst); });
    connect(m_no, &QPushButton::clicked, this, [this] { done(SendNow); });
    connect(m_cancel, &QPushButton::clicked, this, [this] { done(Cancelled); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_heading);
    layout->addWidget(m_list);
    layout->addWidget(new QLabel(tt(remote::text::kAdvisoryQuestion), this));
    layout->addLayout(buttons);
}

} // namespace vsolo
