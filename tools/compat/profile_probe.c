/* SPDX-License-Identifier: LGPL-2.1-or-later */
/* SPDX-FileCopyrightText: kxsimlib contributors */
/* Asks the Windows profile reader (GetPrivateProfileStringA) the queries of a
 * table and prints its answers. Built with the MinGW-w64 cross compiler and run
 * under Wine by ./kx compat; it is never part of the library.
 *
 *   profile_probe DIR QUERIES
 *
 * Each query line: FILE SECTION KEY DEFAULT SIZE, tab-separated; a field "!"
 * is a null pointer, any other field starts with "=" and is escaped (\xHH).
 * Each answer line repeats the query and adds the returned count and the
 * buffer's first count characters, escaped the same way. */
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

/* Unescapes in place; returns NULL for the "!" field. */
static char* field(char* text) {
    if (strcmp(text, "!") == 0) return NULL;
    char* out = text;
    const char* in = text + 1;
    while (*in) {
        if (in[0] == '\\' && in[1] == 'x' && hexValue(in[2]) >= 0 && hexValue(in[3]) >= 0) {
            *out++ = (char)(hexValue(in[2]) * 16 + hexValue(in[3]));
            in += 4;
        } else {
            *out++ = *in++;
        }
    }
    *out = 0;
    return text;
}

static void printEscaped(const char* bytes, size_t n) {
    for (size_t i = 0; i < n; ++i) {
        const unsigned char c = (unsigned char)bytes[i];
        if (c < 0x20 || c >= 0x7F || c == '\\') printf("\\x%02x", c);
        else putchar(c);
    }
}

int main(int argc, char** argv) {
    if (argc != 3) return 2;
    FILE* in = fopen(argv[2], "rb");
    if (!in) return 2;
    static char line[65536];
    static char buffer[70000];
    while (fgets(line, sizeof line, in)) {
        line[strcspn(line, "\r\n")] = 0;
        char* parts[5];
        char* rest = line;
        int n = 0;
        for (; n < 5 && rest; ++n) {
            parts[n] = rest;
            rest = strchr(rest, '\t');
            if (rest) *rest++ = 0;
        }
        if (n != 5) continue;
        printf("%s\t%s\t%s\t%s\t%s\t", parts[0], parts[1], parts[2], parts[3], parts[4]);
        char path[1024];
        snprintf(path, sizeof path, "%s\\%s", argv[1], parts[0] + 1);
        const char* section = field(parts[1]);
        const char* key = field(parts[2]);
        const char* fallback = field(parts[3]);
        const DWORD size = (DWORD)strtoul(parts[4] + 1, NULL, 10);
        memset(buffer, 0x7E, sizeof buffer);
        const DWORD count = GetPrivateProfileStringA(section, key, fallback, buffer, size, path);
        printf("%lu\t", (unsigned long)count);
        printEscaped(buffer, count);
        putchar('\n');
    }
    fclose(in);
    return 0;
}
