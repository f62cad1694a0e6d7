// CLed: a 16 x 16 status lamp in one of four colours and two shapes, lit,
// unlit or greyed, that can flash lit for a while (Ping). CNimLed adds one
// integer of caller data.
//
// The images come from the library's bitmap strip IDB_LED (48 x 128): three
// columns of 16-pixel cells for lit, unlit and grey, eight rows for the red,
// green, yellow and blue round lamps and then the same colours square.
// Magenta pixels are background and let the window's background through.
#pragma once

#include "OrvApi.h"
#include "framework/win/Controls.h"
#include "framework/win/Gdi.h"

class CDC;

class ORV_API CLed : public CStatic {
public:
    // Colours: the row offset of the colour in the strip.
    enum : int { LedRed = 0, LedGreen = 16, LedYellow = 32, LedBlue = 48 };
    // Modes: the column.
    enum : int { LedOn = 0, LedOff = 1, LedDisabled = 2 };
    // Shapes: added to the row offset.
    enum : int { LedRound = 0, LedSquare = 64 };
    // The timer of a ping.
    enum : UINT_PTR { kPingTimer = 1 };

    CLed();

    // Stores the lamp and, when the window exists, draws it at once. A
    // colour, mode or shape outside the values above answers FALSE and
    // changes nothing.
    BOOL SetLed(int colour, int mode, int shape);
    int GetLedMode() const { return m_nMode; }
    int GetLedColour() const { return m_nColour; }
    int GetLedShape() const { return m_nShape; }
    // Lights the lamp for the time, then leaves it unlit; a ping while one
    // runs starts the time again. FALSE without a window (nothing changes).
    BOOL Ping(UINT milliseconds);
    BOOL IsFlashing() const { return m_bFlashing; }

protected:
    BOOL OnEraseBkgnd(CDC* dc) override;
    void OnPaint() override;
    void OnTimer(UINT_PTR id) override;
    void OnDestroy() override;
    // The background as the parent gives it to statics, then the cell,
    // centred when the client area holds it, else from the top-left corner.
    void Draw(CDC& dc);

    int m_nColour { LedRed };
    int m_nMode { LedOff };
    int m_nShape { LedRound };
    CBitmap m_strip;
    bool m_bFlashing { false };

private:
    // White where the strip is magenta, black on the lamps.
    CBitmap m_mask;
};

class ORV_API CNimLed : public CLed {
public:
    BOOL SetLedEx(int colour, int mode, int shape, int extraData)
    {
        m_nExtraData = extraData;
        return SetLed(colour, mode, shape);
    }
    void SetExtraData(int value) { m_nExtraData = value; }
    int GetExtraData() const { return m_nExtraData; }

private:
    int m_nExtraData { 0 };
};
