#include "document/copyformat.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#define COPY_SIGNATURE "Penrik recovery copy"

bool NameToUtf8(const char16_t* name, char* out, size_t size)
{
    size_t used = 0;
    for (size_t i = 0; name[i] != 0; ++i) {
        unsigned long code = name[i];
        unsigned long low = name[i + 1];
        if (code >= 0xD800 && code < 0xDC00 && low >= 0xDC00 && low < 0xE000) {
            code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
            ++i;
        }
        unsigned char unit[4];
        size_t count;
        if (code < 0x80) {
            unit[0] = (unsigned char)code;
            count = 1;
        } else if (code < 0x800) {
            unit[0] = (unsigned char)(0xC0 | (code >> 6));
            count = 2;
        } else if (code < 0x10000) {
            unit[0] = (unsigned char)(0xE0 | (code >> 12));
            count = 3;
        } else {
            unit[0] = (unsigned char)(0xF0 | (code >> 18));
            count = 4;
        }
        for (size_t k = 1; k < count; ++k)
            unit[k] = (unsigned char)(0x80 | ((code >> (6 * (count - 1 - k))) & 0x3F));
        if (used + count >= size)
            return false;
        memcpy(out + used, unit, count);
        used += count;
    }
    out[used] = '\0';
    return true;
}

bool NameFromUtf8(const char* bytes, char16_t* name, size_t units)
{
    const unsigned char* p = (const unsigned char*)bytes;
    size_t used = 0;
    while (*p != 0) {
        unsigned long code;
        int follow;
        if (*p < 0x80) {
            code = *p;
            follow = 0;
        } else if (*p >= 0xC2 && *p < 0xE0) {
            code = *p & 0x1F;
            follow = 1;
        } else if (*p >= 0xE0 && *p < 0xF0) {
            code = *p & 0x0F;
            follow = 2;
        } else if (*p >= 0xF0 && *p < 0xF5) {
            code = *p & 0x07;
            follow = 3;
        } else {
            return false;
        }
        ++p;
        for (int k = 0; k < follow; ++k, ++p) {
            if ((*p & 0xC0) != 0x80)
                return false;  // the terminating zero included
            code = (code << 6) | (*p & 0x3F);
        }
        // No longer form than the shortest, nothing beyond U+10FFFF.
        if ((follow == 2 && code < 0x800) || (follow == 3 && (code < 0x10000 || code > 0x10FFFF)))
            return false;
        if (used + (code >= 0x10000 ? 2 : 1) >= units)
            return false;
        if (code >= 0x10000) {
            name[used++] = (char16_t)(0xD800 + ((code - 0x10000) >> 10));
            name[used++] = (char16_t)(0xDC00 + ((code - 0x10000) & 0x3FF));
        } else {
            name[used++] = (char16_t)code;
        }
    }
    name[used] = 0;
    return true;
}

size_t FormatCopyHeader(const char16_t* name, LineBreaks breaks, TextEncoding encoding, uint64_t time,
                        uint32_t length, char* out)
{
    size_t units = 0;
    while (name[units] != 0)
        ++units;
    char bytes[COPY_NAME_BYTES];
    if (units >= COPY_NAME_UNITS || !NameToUtf8(name, bytes, sizeof bytes))
        return 0;
    // The name has a key of its own, so that an earlier editor, which
    // wrote and read `name=` in the code page, passes this copy over
    // rather than misread its name.
    int made = snprintf(out, COPY_HEADER_SIZE,
                        "%s\r\nutf8name=%s\r\nbreaks=%d\r\nencoding=%d\r\ntime=%llu\r\nlength=%lu\r\n\r\n",
                        COPY_SIGNATURE, bytes, (int)breaks, (int)encoding, (unsigned long long)time,
                        (unsigned long)length);
    return made > 0 && made < COPY_HEADER_SIZE ? (size_t)made : 0;
}

bool ParseCopyHeader(const char* bytes, size_t count, uint64_t fileSize, CopyHeader* header)
{
    char text[COPY_HEADER_SIZE];
    if (count == 0)
        return false;
    if (count >= sizeof text)
        count = sizeof text - 1;
    memcpy(text, bytes, count);
    text[count] = '\0';
    char* end = strstr(text, "\r\n\r\n");
    size_t signature = strlen(COPY_SIGNATURE);
    if (end == NULL || strncmp(text, COPY_SIGNATURE "\r\n", signature + 2) != 0)
        return false;
    end[2] = '\0';
    header->name[0] = 0;
    header->codePageName[0] = '\0';
    header->breaks = BREAKS_AS_IS;
    header->encoding = ENCODING_ANSI;
    header->textInCodePage = true;  // until an `encoding=` says otherwise
    header->headerLength = (uint32_t)(end + 4 - text);
    int fields = 0;
    bool inCharacters = false;  // the UTF-8 name came: a code-page one is not taken
    for (char* line = text + signature + 2; *line != '\0';) {
        char* next = strstr(line, "\r\n");
        if (next == NULL)
            return false;
        *next = '\0';
        if (strncmp(line, "utf8name=", 9) == 0) {
            if (!NameFromUtf8(line + 9, header->name, COPY_NAME_UNITS))
                return false;
            header->codePageName[0] = '\0';
            fields |= 1;
            inCharacters = true;
        } else if (strncmp(line, "name=", 5) == 0 && !inCharacters) {
            if (strlen(line + 5) >= sizeof header->codePageName)
                return false;
            strcpy(header->codePageName, line + 5);
            fields |= 1;
        } else if (strncmp(line, "breaks=", 7) == 0) {
            int breaks = atoi(line + 7);
            header->breaks = breaks == BREAKS_LF || breaks == BREAKS_CR ? (LineBreaks)breaks : BREAKS_AS_IS;
            fields |= 2;
        } else if (strncmp(line, "encoding=", 9) == 0) {
            int encoding = atoi(line + 9);
            header->textInCodePage = encoding < 0;
            header->encoding = encoding > ENCODING_ANSI && encoding <= ENCODING_UTF16BE ? (TextEncoding)encoding
                                                                                        : ENCODING_ANSI;
        } else if (strncmp(line, "time=", 5) == 0) {
            header->time = strtoull(line + 5, NULL, 10);
            fields |= 4;
        } else if (strncmp(line, "length=", 7) == 0) {
            header->length = (uint32_t)strtoul(line + 7, NULL, 10);
            fields |= 8;
        }
        line = next + 2;
    }
    return fields == 15 && fileSize == (uint64_t)header->headerLength + header->length;
}
