// The relay setting information view: the third lower pane of the monitor window while relay
// control is switched on. It shows the watch-dog values and the monitor channels of the
// document's current condition, and follows the document's update hints.
#pragma once

#include "framework/View.h"

#include <QWidget>

#include <array>
#include <cstdint>

class CMoniChartFrame;
class CZT300SetDoc;
class QLabel;
class QTableWidget;

class CRelaySetInfoView : public QWidget, public IView {
    Q_OBJECT

public:
    // The monitor window's third lower pane follows the relay control switch: added beside the
    // log while it is on, removed while it is off. The view found there, or nullptr.
    static CRelaySetInfoView* FollowRelayControl(CMoniChartFrame& frame, bool relayControl,
                                                 const std::array<std::uint8_t, 32>& relayBlock);

    // `relayBlock` holds the ports' initial values (the program's relay settings); it must
    // outlive the view.
    CRelaySetInfoView(CZT300SetDoc& doc, const std::array<std::uint8_t, 32>& relayBlock,
                      QWidget* parent = nullptr);
    ~CRelaySetInfoView() override;

    void OnUpdate(IView* sender, int hint, const CUpdateData* data) override;
    void Refresh();

    // The three text lines above the list.
    QStringList HeaderLines() const;
    QTableWidget* List() const { return m_list; }

private:
    CZT300SetDoc& m_doc;
    const std::array<std::uint8_t, 32>& m_relayBlock;
    std::array<QLabel*, 3> m_lines{};
    QTableWidget* m_list;
};
