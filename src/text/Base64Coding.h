// CBase64Coding: the library's Base64 coder.
//
// The alphabet and bit layout are the usual ones; the end of the text follows
// a convention of this library: encoded text always ends with "=" (input whose
// length is a multiple of three gets one extra "="), and decoding reports
// success only when it meets that "=". Text without it still decodes, but the
// result says the input was not complete.
#pragma once

#include "OrvApi.h"
#include "framework/Array.h"
#include "framework/String.h"

class ORV_API CBase64Coding {
public:
    CBase64Coding();
    CBase64Coding(const CBase64Coding&) = delete;
    CBase64Coding& operator=(const CBase64Coding&) = delete;

protected:
    // Fills the decoding table; called on the first decode. An override may
    // map characters differently; decoding then follows its table
    // throughout (the fast path is taken only while the table is the
    // default one).
    virtual void m_InitializeDecoderTable();

    // Maps a character code to its 6-bit value; 254 marks white space that
    // decoding skips, 255 an invalid character. Entry 0 doubles as the
    // "built" mark: 0 until the table is filled, 255 afterwards.
    BYTE m_DecoderTable[256] {};

public:
    virtual ~CBase64Coding();

    // Decodes text (its characters read as bytes). True when the text was
    // well formed and ended with "="; see DecodeBytes for the details.
    virtual bool Decode(const CString& source, CByteArray& destination);
    virtual bool Decode(const CByteArray& source, CByteArray& destination);

    // Encodes as text with a line break (CR LF) after every 72 characters.
    // Always succeeds; the output replaces what the destination held.
    virtual bool Encode(const CByteArray& source, CString& destination);
    // Encodes as bytes, without line breaks.
    virtual bool Encode(const CByteArray& source, CByteArray& destination);

private:
    bool DecodeBytes(const BYTE* source, int length, CByteArray& destination);
    bool TableIsBuilt() const { return m_DecoderTable[0] == 255; }
};
