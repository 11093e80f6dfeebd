// The generic waveform view: every channel's trace in one plot with time across and grid
// divisions up, the axes, grids and labels around it, channel name boxes, measuring cursors and
// markers, keyboard and mouse. The picture is drawn off screen and copied; subclasses supply
// the points.
#pragma once

#include "monitor/ChartCursors.h"
#include "monitor/CommonWaveChInfo.h"
#include "monitor/DataFormat.h"
#include "monitor/Grp.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QWidget>

#include <ctime>
#include <memory>
#include <vector>

class CCpsRingBuf;
class QPainter;
class QPrinter;

class CCommonWaveView : public QWidget {
    Q_OBJECT

public:
    using ChannelList = std::vector<std::unique_ptr<CCommonWaveChInfo>>;

    explicit CCommonWaveView(QWidget* parent = nullptr);

    const ChannelList& GetChannels() const { return m_channels; }
    // The channel whose name box is highlighted and whose scale the right margin shows; -1 none.
    int GetSelected() const { return m_selected; }
    void SelectChannel(int channel);

    void SetTimeRange(double start, double end);
    double GetTimeStart() const { return m_timeStart; }
    double GetTimeEnd() const { return m_timeEnd; }
    void SetTimeGrid(double step);
    double GetTimeGrid() const { return m_timeGrid; }
    void SetDivisions(int first, int count);
    int GetFirstDivision() const { return m_firstDivision; }
    int GetDivisions() const { return m_divisions; }
    void SetTitle(const QString& title);
    void SetTimeUnit(const QString& unit);
    void SetScrollMode(int mode) { m_scrollMode = mode; }
    int GetScrollMode() const { return m_scrollMode; }
    void SetScaleMode(int mode) { m_scaleMode = mode; }
    int GetScaleMode() const { return m_scaleMode; }
    void SetMinScrollStep(int pixels) { m_minScrollStep = pixels; }
    int GetMinScrollStep() const { return m_minScrollStep; }
    CDataFormat& TimeFormat() { return m_timeFormat; }
    CDataFormat& ValueFormat() { return m_valueFormat; }
    CChartCursors& Cursors() { return m_cursors; }
    const CChartCursors& Cursors() const { return m_cursors; }

    // The plot's drawing area (right and bottom exclusive) and the transform of time and
    // divisions over it, as of the last layout.
    const ChartRect& GetPlotRect() const { return m_plot; }
    const CGrp& ViewTransform() const { return m_view; }
    // Seconds a page turn advances: half the time range.
    virtual double PageStep() const { return (m_timeEnd - m_timeStart) / 2.0; }

    // The whole picture drawn again at the next paint.
    void Invalidate();
    // Draws the whole picture at the widget's size into `image`.
    void RenderTo(QImage& image);
    // The off-screen picture as the widget last copied it.
    const QImage& Picture() const { return m_picture; }
    void Print(QPrinter& printer);

protected:
    virtual const CCpsRingBuf* GetRing() const { return nullptr; }
    virtual ChartRect ComputePlotRect(const QRect& client);
    virtual void CreateFonts(const QRect& client);
    virtual void CreatePrintFonts(QPainter& painter);
    virtual void DrawTitle(QPainter& painter, const ChartRect& plot);
    virtual void DrawAxes(QPainter& painter, const ChartRect& plot);
    virtual void DrawChannelLabels(QPainter& painter);
    // The points of the ring from relative position `first` on, clipped to each channel's band.
    virtual void DrawPoints(QPainter& painter, int first);
    virtual void Draw(QPainter& painter, const ChartRect& plot);
    // After the user dragged a channel's name box to another division.
    virtual void OnChannelMoved(int channel);

    // Fonts, plot, transforms and bands for a picture of `client`.
    void Layout(const QRect& client);
    // Channel transforms follow the time range and divisions.
    void PlaceChannels();
    // The time range moves with the picture already shifted to match: no redraw.
    void MoveTimeRange(double start, double end);
    // The picture is drawn and up to date with the view's state.
    bool IsPictureCurrent() const { return !m_stale && m_picture.size() == size(); }
    // The time ticks and labels around the plot, with what lies under them cleared first.
    void DrawTimeStrips(QPainter& painter, const ChartRect& plot, bool clear);
    void DrawGrids(QPainter& painter, const ChartRect& area);
    void DrawCursors(QPainter& painter);
    QString FormatTime(double t) const;
    bool IsPrinting() const { return m_printing; }
    const QColor& PlotColour() const { return m_plotColour; }
    int VisibleCount() const;

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool focusNextPrevChild(bool next) override;

    ChannelList m_channels;
    QImage m_picture;
    bool m_stale = true;
    // How far the picture scrolled, for the dots of the horizontal grid lines.
    int m_gridPhase = 0;

private:
    void RenderPicture();
    // The label box of a visible channel; empty for a hidden one.
    QRect LabelBox(const CCommonWaveChInfo& channel) const;
    int ChannelAtLabel(const QPoint& pos) const;
    QString CursorReadout() const;
    void DrawEmptyHint(QPainter& painter, const ChartRect& plot);

    int m_firstDivision = 0;
    int m_divisions = 25;
    QString m_title;
    QString m_timeUnit;
    double m_timeStart = 0.0;
    double m_timeEnd = 100.0;
    double m_timeGrid = 20.0;
    bool m_showNames = true;
    QColor m_marginColour;
    QColor m_plotColour{255, 255, 255};
    QColor m_gridColour{192, 192, 192};
    QColor m_textColour{0, 0, 0};
    QColor m_cursorColour{0, 255, 255};
    CDataFormat m_timeFormat;
    CDataFormat m_valueFormat;
    std::time_t m_baseTime;
    int m_scrollMode = 0;
    int m_scaleMode = 1;
    int m_minScrollStep = 5;
    CChartCursors m_cursors;
    CGrp m_view;
    ChartRect m_plot;
    QRect m_client;
    QFont m_titleFont;
    QFont m_labelFont;
    int m_charWidth = 8;
    int m_labelLine = 16;
    int m_titleLine = 20;
    int m_selected = -1;
    bool m_printing = false;
    enum class Drag { None, Cursor, Marker, Channel };
    Drag m_drag = Drag::None;
    int m_dragWhich = 0;
    int m_dragStartY = 0;
};
