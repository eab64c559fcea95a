#pragma once

namespace report {

// Lines drawn along the edges of a band (its full printable width, its grown height).
struct Frame {
    bool top = false;
    bool bottom = false;
    bool left = false;
    bool right = false;
    double width = 0.25; // mm

    static Frame box(double width = 0.25) { return {true, true, true, true, width}; }
};

} // namespace report
