#pragma once

#include "tracker/app/view.h"

class QLabel;
class QPushButton;

namespace vsolo {

class ViewHost;

// The small floating window shown while tracking: what is tracked and since when, with STOP
// (stop and go back) and DETAIL (go back and keep tracking). It never refuses a stop.
class CTrackWindowView final : public View {
    Q_OBJECT
public:
    explicit CTrackWindowView(ViewHost& host);

    int trackerNotify(Tracker& tracker, int code, int value) override;
    void activated() override;

    QLabel* level1Label() const { return m_level1; }
    QLabel* level2Label() const { return m_level2; }
    QLabel* fromToLabel() const { return m_fromTo; }
    QPushButton* stopButton() const { return m_stop; }
    QPushButton* detailButton() const { return m_detail; }

private:
    void refreshTexts();

    ViewHost& m_host;
    QLabel* m_level1 = nullptr;
    QLabel* m_level2 = nullptr;
    QLabel* m_fromTo = nullptr;
    QPushButton* m_stop = nullptr;
    QPushButton* m_detail = nullptr;
};

} // namespace vsolo
