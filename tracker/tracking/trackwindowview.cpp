#include "tracker/tracking/trackwindowview.h"

#include "core/document.h"
#include "tracker/app/commands.h"
#include "tracker/app/qtext.h"
#include "tracker/app/shownnames.h"
#include "tracker/app/texts.h"
#include "tracker/app/viewhost.h"
#include "tracker/help/helpbook.h"
#include "tracker/tracking/pictures.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

namespace vsolo {

namespace {

// A picture button with its up, pressed and focused faces.
class FaceButton final : public QPushButton {
public:
    using Face = QPixmap (*)(pictures::FaceState, qreal);
    FaceButton(Face face, const QString& name, QWidget* parent)
        : QPushButton(parent), m_face(face) {
        setAccessibleName(name);
        setFlat(true);
        const QPixmap up = face(pictures::FaceState::Up, 1.0);
        setIconSize(up.size());
        setFixedSize(up.size() + QSize(4, 4));
        updateFace();
        connect(this, &QPushButton::pressed, this, [this] { updateFace(); });
        connect(this, &QPushButton::released, this, [this] { updateFace(); });
    }

protected:
    void focusInEvent(QFocusEvent* event) override {
        QPushButton::focusInEvent(event);
        updateFace();
    }
    void focusOutEvent(QFocusEvent* event) override {
        QPushButton::focusOutEvent(event);
        updateFace();
    }

private:
    void updateFace() {
        const pictures::FaceState state = isDown()     ? pictures::FaceState::Down
                                          : hasFocus() ? pictures::FaceState::Focused
                                                       : pictures::FaceState::Up;
        setIcon(QIcon(m_face(state, devicePixelRatioF())));
    }
    Face m_face;
};

} // namespace

CTrackWindowView::CTrackWindowView(ViewHost& host)
    : View(command::kShrink, "FloatingWindow", TrackerHelp::MainWindow), m_host(host) {
    m_level1 = new QLabel(tr("Project Name"), this);
    m_level2 = new QLabel(tr("Activity Name"), this);
    m_fromTo = new QLabel(tr("From 10:00 to 11:00"), this);
    m_stop = new FaceButton(&pictures::stopFace, tr("STOP"), this);
    m_detail = new FaceButton(&pictures::detailFace, tr("DETAIL"), this);
    m_stop->setShortcut(QKeySequence(Qt::Key_F11));
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(6, 4, 6, 4);
    grid->addWidget(m_level1, 0, 0, 1, 2);
    grid->addWidget(m_level2, 1, 0, 1, 2);
    grid->addWidget(m_fromTo, 2, 0, 1, 2);
    grid->addWidget(m_stop, 3, 0);
    grid->addWidget(m_detail, 3, 1);
    connect(m_stop, &QPushButton::clicked, this, [this] {
        m_host.tracker().stop();
        emit switchRequested(command::kMainWindow);
    });
    connect(m_detail, &QPushButton::clicked, this,
            [this] { emit switchRequested(command::kMainWindow); });
    refreshTexts();
}

void CTrackWindowView::activated() {
    refreshTexts();
    m_detail->setFocus();
}

void CTrackWindowView::refreshTexts() {
    const TemplateFile& file = m_host.document().templateFile();
    const Transaction& running = m_host.tracker().running();
    setTextWithNames(*m_level1, "%s", {level1Name(running, file.level1(), file.isTreeShape())});
    setTextWithNames(*m_level2, "%s", {level2Name(running, file.level2(), file.isTreeShape())});
    m_fromTo->setText(QString::fromStdString(fillPlaceholders(
        tx(text::kFromTo), {running.start().clockTimeNoPad(), running.end().clockTimeNoPad()})));
}

int CTrackWindowView::trackerNotify(Tracker&, int code, int) {
    if (code == trackercode::kTick) {
        refreshTexts();
        m_host.refreshTitle();
        return 0;
    }
    return 1;
}

} // namespace vsolo
