#include "document/encoding.h"

// The length of the valid UTF-8 sequence at `p`, or 0 when none starts
// there: no overlong forms, no surrogates, nothing beyond U+10FFFF.
static size_t SequenceAt(const unsigned char* p, size_t left)
{
    unsigned char c = p[0];
    if (c < 0x80)
        return 1;
    size_t length;
    unsigned char low = 0x80, high = 0xBF;  // the second byte's range
    if (c >= 0xC2 && c <= 0xDF) {
        length = 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
        length = 3;
        if (c == 0xE0)
            low = 0xA0;
        else if (c == 0xED)
            high = 0x9F;
    } else if (c >= 0xF0 && c <= 0xF4) {
        length = 4;
        if (c == 0xF0)
            low = 0x90;
        else if (c == 0xF4)
            high = 0x8F;
    } else {
        return 0;
    }
    if (left < length || p[1] < low || p[1] > high)
        return 0;
    for (size_t i = 2; i < length; ++i)
        if (p[i] < 0x80 || p[i] > 0xBF)
            return 0;
    return length;
}

// Whether the bytes are valid UTF-8; `multiByte` says whether they hold
// a sequence of more than one byte.
static int ValidUtf8(const unsigned char* bytes, size_t length, int* multiByte)
{
    *multiByte = 0;
    for (size_t i = 0; i < length;) {
        if (bytes[i] < 0x80) {
            ++i;
            continue;
        }
        size_t step = SequenceAt(bytes + i, length - i);
        if (step == 0)
            return 0;
        *multiByte = 1;
        i += step;
    }
    return 1;
}

TextEncoding ClassifyEncoding(const unsigned char* bytes, size_t length)
{
    int multiByte = 0;
    // A mark before bytes that are no UTF-8 makes no UTF-8 file: decoding
    // it would change them.
    if (length >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF)
        return ValidUtf8(bytes + 3, length - 3, &multiByte) ? ENCODING_UTF8_MARK : ENCODING_ANSI;
    if (length >= 2 && length % 2 == 0 && bytes[0] == 0xFF && bytes[1] == 0xFE)
        return ENCODING_UTF16LE;
    if (length >= 2 && length % 2 == 0 && bytes[0] == 0xFE && bytes[1] == 0xFF)
        return ENCODING_UTF16BE;
    return ValidUtf8(bytes, length, &multiByte) && multiByte ? ENCODING_UTF8 : ENCODING_ANSI;
}

size_t MarkLength(TextEncoding encoding)
{
    switch (encoding) {
    case ENCODING_UTF8_MARK: return 3;
    case ENCODING_UTF16LE:
    case ENCODING_UTF16BE:   return 2;
    default:                 return 0;
    }
}

static int IsUtf16(TextEncoding encoding) { return encoding == ENCODING_UTF16LE || encoding == ENCODING_UTF16BE; }

size_t Decode(TextEncoding encoding, const unsigned char* body, size_t length, char16_t* out)
{
    size_t n = 0;
    if (IsUtf16(encoding)) {
        int big = encoding == ENCODING_UTF16BE;
        for (size_t i = 0; i + 1 < length; i += 2)
            out[n++] = (char16_t)(big ? (body[i] << 8 | body[i + 1]) : (body[i + 1] << 8 | body[i]));
        return n;
    }
    for (size_t i = 0; i < length;) {
        if (body[i] < 0x80) {  // most of a source file: one byte, one unit
            out[n++] = body[i++];
            continue;
        }
        const unsigned char* p = body + i;
        size_t step = SequenceAt(p, length - i);
        unsigned long c;
        switch (step) {
        case 2:  c = (p[0] & 0x1Ful) << 6 | (p[1] & 0x3Fu); break;
        case 3:  c = (p[0] & 0x0Ful) << 12 | (p[1] & 0x3Ful) << 6 | (p[2] & 0x3Fu); break;
        case 4:  c = (p[0] & 0x07ul) << 18 | (p[1] & 0x3Ful) << 12 | (p[2] & 0x3Ful) << 6 | (p[3] & 0x3Fu); break;
        default: c = 0xFFFD; step = 1; break;
        }
        if (c >= 0x10000) {
            c -= 0x10000;
            out[n++] = (char16_t)(0xD800 + (c >> 10));
            out[n++] = (char16_t)(0xDC00 + (c & 0x3FF));
        } else {
            out[n++] = (char16_t)c;
        }
        i += step;
    }
    return n;
}

// The code point at text[i] and how many units it takes; a lone
// surrogate is U+FFFD.
static unsigned long CodePointAt(const char16_t* text, size_t length, size_t i, size_t* units)
{
    unsigned long c = text[i];
    *units = 1;
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < length && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
        *units = 2;
        return 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00u);
    }
    return c >= 0xD800 && c <= 0xDFFF ? 0xFFFD : c;
}

size_t Encode(TextEncoding encoding, const char16_t* text, size_t length, unsigned char* out)
{
    static const unsigned char Utf8Mark[] = {0xEF, 0xBB, 0xBF};
    size_t n = 0;
    if (encoding == ENCODING_UTF8_MARK)
        for (unsigned char b : Utf8Mark)
            out[n++] = b;
    if (IsUtf16(encoding)) {
        int big = encoding == ENCODING_UTF16BE;
        out[n++] = big ? 0xFE : 0xFF;
        out[n++] = big ? 0xFF : 0xFE;
        for (size_t i = 0; i < length; ++i) {
            unsigned char high = (unsigned char)(text[i] >> 8), low = (unsigned char)(text[i] & 0xFF);
            out[n++] = big ? high : low;
            out[n++] = big ? low : high;
        }
        return n;
    }
    for (size_t i = 0, units = 0; i < length; i += units) {
        if (text[i] < 0x80) {  // most of a source file: one unit, one byte
            out[n++] = (unsigned char)text[i];
            units = 1;
            continue;
        }
        unsigned long c = CodePointAt(text, length, i, &units);
        if (c < 0x800) {
            out[n++] = (unsigned char)(0xC0 | c >> 6);
            out[n++] = (unsigned char)(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out[n++] = (unsigned char)(0xE0 | c >> 12);
            out[n++] = (unsigned char)(0x80 | (c >> 6 & 0x3F));
            out[n++] = (unsigned char)(0x80 | (c & 0x3F));
        } else {
            out[n++] = (unsigned char)(0xF0 | c >> 18);
            out[n++] = (unsigned char)(0x80 | (c >> 12 & 0x3F));
            out[n++] = (unsigned char)(0x80 | (c >> 6 & 0x3F));
            out[n++] = (unsigned char)(0x80 | (c & 0x3F));
        }
    }
    return n;
}
