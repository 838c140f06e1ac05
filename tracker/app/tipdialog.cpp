#include "tracker/app/tipdialog.h"

#include "tracker/tracking/pictures.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace vsolo {

namespace {

QString qs(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

CTipDlg::CTipDlg(Settings& settings, const QString& folder, QWidget* parent)
    : QDialog(parent), m_settings(settings), m_reader(settings), m_tip(new QLabel),
      m_startUp(new QCheckBox(qs(kShowAtStartUp))), m_next(new QPushButton(qs(kNextTip))),
      m_close(new QPushButton(qs(kClose))) {
    setWindowTitle(qs(kTitle));

    auto* area = new QFrame;
    area->setFrameShape(QFrame::StyledPanel);
    area->setFrameShadow(QFrame::Sunken);
    area->setAutoFillBackground(true);
    QPalette white = area->palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::WindowText, Qt::black);
    area->setPalette(white);

    auto* picture = new QLabel;
    picture->setPixmap(pictures::tipPicture(devicePixelRatioF()));
    picture->setFixedSize(pictures::tipPictureSize());
    auto* heading = new QLabel(qs(kHeading));
    QFont headingFont = heading->font();
    headingFont.setBold(true);
    if (headingFont.pointSizeF() > 0) {
        headingFont.setPointSizeF(headingFont.pointSizeF() * 1.4);
    } else {
        headingFont.setPixelSize(headingFont.pixelSize() * 7 / 5);
    }
    heading->setFont(headingFont);
    m_tip->setTextFormat(Qt::PlainText);
    m_tip->setWordWrap(true);
    m_tip->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_tip->setMinimumHeight(fontMetrics().lineSpacing() * 6);

    auto* areaLayout = new QGridLayout(area);
    areaLayout->setContentsMargins(12, 12, 16, 16);
    areaLayout->setHorizontalSpacing(12);
    areaLayout->addWidget(picture, 0, 0, Qt::AlignLeft | Qt::AlignTop);
    areaLayout->addWidget(heading, 0, 1, Qt::AlignLeft | Qt::AlignVCenter);
    areaLayout->addWidget(m_tip, 1, 1);
    areaLayout->setRowStretch(1, 1);
    areaLayout->setColumnStretch(1, 1);

    m_startUp->setChecked(m_settings.tipStartUp() == 0);
    m_close->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_startUp);
    buttons->addStretch(1);
    buttons->addWidget(m_next);
    buttons->addWidget(m_close);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(area, 1);
    layout->addLayout(buttons);
    setMinimumSize(420, 240);
    resize(480, 280);

    connect(m_next, &QPushButton::clicked, this, &CTipDlg::showNextTip);
    connect(m_close, &QPushButton::clicked, this, &QDialog::accept);

    m_next->setEnabled(m_reader.open(folder.toStdString()));
    m_tip->setText(qs(m_reader.text()));
    m_close->setFocus();
}

QString CTipDlg::programFolder() {
    return QCoreApplication::applicationDirPath();
}

void CTipDlg::showTips(Settings& settings, QWidget* parent) {
    CTipDlg dialog(settings, programFolder(), parent);
    dialog.exec();
}

void CTipDlg::showNextTip() {
    m_reader.next();
    m_tip->setText(qs(m_reader.text()));
}

void CTipDlg::done(int result) {
    m_reader.savePosition();
    if (result == QDialog::Accepted) {
        m_settings.setTipStartUp(m_startUp->isChecked() ? 0 : 1);
    }
    QDialog::done(result);
}

} // namespace vsolo
