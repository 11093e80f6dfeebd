// The measuring cursors (vertical lines at pixel positions) and horizontal markers of the
// common chart, their keyboard moves and dragging, and the Tab choice of the selected channel.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

class CChartCursors {
public:
    static constexpr int kCount = 2;
    // How close to a line a press grabs it.
    static constexpr int kGrabPixels = 3;

    // Cursors run over [left, right] of the plot; a new range maps placed cursors proportionally
    // and places the others at one and two thirds.
    void SetCursorRange(int left, int right);
    // Markers run over 0 .. range (pixels down from the plot's top).
    void SetMarkerRange(int range);
    void ShowCursors(bool show);
    void ShowMarkers(bool show);
    bool HasCursors() const { return m_showCursors; }
    bool HasMarkers() const { return m_showMarkers; }
    // Forgets every position; cursors and markers hide.
    void Reset();

    int GetCursor(int cursor) const { return m_cursors[static_cast<std::size_t>(cursor)]; }
    int GetMarker(int marker) const { return m_markers[static_cast<std::size_t>(marker)]; }
    void SetCursorPosition(int cursor, int x);
    void SetMarkerPosition(int marker, int value);

    // Arrow keys: the first (second with Shift) cursor by 1 pixel, 10 with Ctrl; without
    // cursors the marker by 1, or a tenth of its range with Ctrl. False when nothing moved.
    bool OnArrow(bool right, bool shift, bool ctrl);

    struct Grab {
        enum class Kind { None, Cursor, Marker };
        Kind kind = Kind::None;
        int which = 0;
    };
    // What a press at (x, y of the plot's top-relative row) takes hold of.
    Grab HitTest(int x, int markerY) const;

private:
    int m_left = 0;
    int m_right = 0;
    int m_markerRange = 0;
    bool m_showCursors = false;
    bool m_showMarkers = false;
    std::array<int, kCount> m_cursors{};
    std::array<bool, kCount> m_cursorPlaced{};
    std::array<int, kCount> m_markers{};
};

// The visible channel, by its grid division, after (forward) or before the selected one;
// nullopt when there is none (the caller beeps). `ys` holds every channel's division and
// `visible` whether it is shown; ties go to the first in list order.
std::optional<int> NextChannelByDivision(const std::vector<std::int16_t>& ys,
                                         const std::vector<bool>& visible, int selected,
                                         bool forward, int firstDivision, int lastDivision);
// The visible channel with the smallest division; nullopt when none is visible.
std::optional<int> LowestVisibleChannel(const std::vector<std::int16_t>& ys,
                                        const std::vector<bool>& visible);
