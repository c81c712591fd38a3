/* A FileMaker host cut down to the entry protocol and written from the
   host's table of the call block alone, in C, with none of the project's
   headers: it starts the plug-in, asks for the three strings every host asks
   for, and shuts it down. It prints what it got and exits 0 only when the
   start-up answered 53 at the host's offset and the strings are the
   plug-in's.
     table_host PLUGIN-FILE */
#include <stdint.h>
#include <stdio.h>
#include <string.h>

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

/* Offsets of whichCall, parm1, parm3, instanceID and result, the block's
   size and the width of its pointer-wide fields. */
#if defined(_WIN64)
enum { WHICH_CALL = 13, PARM1 = 15, PARM3 = 24, INSTANCE = 32, RESULT = 40, BLOCK = 72, WIDE = 8 };
#elif defined(_WIN32)
enum { WHICH_CALL = 9, PARM1 = 11, PARM3 = 16, INSTANCE = 20, RESULT = 24, BLOCK = 40, WIDE = 4 };
#else
enum { WHICH_CALL = 15, PARM1 = 17, PARM3 = 26, INSTANCE = 34, RESULT = 42, BLOCK = 74, WIDE = 8 };
#endif

typedef void (*EntryPoint)(void *block); /* __cdecl, the default everywhere */

static void put(unsigned char *block, int offset, int width, uint64_t value) {
    for (int i = 0; i < width; ++i) block[offset + i] = (unsigned char)(value >> (8 * i));
}

static uint64_t get(const unsigned char *block, int offset, int width) {
    uint64_t value = 0;
    for (int i = 0; i < width; ++i) value |= (uint64_t)block[offset + i] << (8 * i);
    return value;
}

static void fresh(unsigned char *block, int whichCall, uintptr_t instance) {
    memset(block, 0, BLOCK);
    put(block, 0, 2, 60); /* the host's interface version, in every call */
    put(block, WHICH_CALL, 1, (uint64_t)whichCall);
    put(block, INSTANCE, WIDE, instance);
}

/* The UTF-16 text as UTF-8 (the plug-in's strings are all in the BMP). */
static void toUtf8(const uint16_t *text, char *out, size_t capacity) {
    size_t n = 0;
    for (; *text != 0 && n + 4 < capacity; ++text) {
        unsigned c = *text;
        if (c < 0x80) {
            out[n++] = (char)c;
        } else if (c < 0x800) {
            out[n++] = (char)(0xC0 | c >> 6);
            out[n++] = (char)(0x80 | (c & 0x3F));
        } else {
            out[n++] = (char)(0xE0 | c >> 12);
            out[n++] = (char)(0x80 | (c >> 6 & 0x3F));
            out[n++] = (char)(0x80 | (c & 0x3F));
        }
    }
    out[n] = 0;
}

static int checkString(EntryPoint entry, uintptr_t instance, int id, const char *expected, int wholeText) {
    unsigned char block[BLOCK];
    uint16_t buffer[1024];
    char text[4096];
    memset(buffer, 0xAA, sizeof buffer);
    fresh(block, 7, instance);
    put(block, PARM1, 1, (uint64_t)id);
    put(block, PARM3, WIDE, 1024);
    put(block, RESULT, WIDE, (uintptr_t)buffer);
    entry(block);
    buffer[1023] = 0;
    toUtf8(buffer, text, sizeof text);
    printf("string %d: %s\n", id, text);
    if (wholeText ? strcmp(text, expected) != 0 : strncmp(text, expected, strlen(expected)) != 0) {
        printf("  expected %s: %s\n", wholeText ? "" : "it to start with", expected);
        return 1;
    }
    return 0;
}

int main(int argc, char **argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: table_host PLUGIN-FILE\n");
        return 2;
    }
#ifdef _WIN32
    HMODULE module = LoadLibraryA(argv[1]);
    if (module == NULL) {
        fprintf(stderr, "table_host: cannot load %s (error %lu)\n", argv[1], (unsigned long)GetLastError());
        return 2;
    }
    FARPROC symbol = GetProcAddress(module, "FMExternCallProc");
    EntryPoint entry = NULL;
    memcpy(&entry, &symbol, sizeof entry);
    const uintptr_t instance = (uintptr_t)module;
#else
    void *module = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
    if (module == NULL) {
        fprintf(stderr, "table_host: cannot load %s: %s\n", argv[1], dlerror());
        return 2;
    }
    void *symbol = dlsym(module, "FMExternCallProc");
    EntryPoint entry = NULL;
    memcpy(&entry, &symbol, sizeof entry);
    const uintptr_t instance = (uintptr_t)module;
#endif
    if (entry == NULL) {
        fprintf(stderr, "table_host: %s has no FMExternCallProc\n", argv[1]);
        return 2;
    }

    unsigned char block[BLOCK];
    fresh(block, 0, instance);
    put(block, RESULT, WIDE, 0);
    entry(block);
    const int64_t answer = (int64_t)(int32_t)(uint32_t)get(block, RESULT, 4);
    const uint64_t upper = WIDE == 8 ? get(block, RESULT + 4, 4) : 0;
    printf("start-up answered %lld\n", (long long)answer);
    int failures = answer == 53 && upper == 0 ? 0 : 1;

    failures += checkString(entry, instance, 128, "Penvira Sig Capture", 1);
    failures += checkString(entry, instance, 129, "This plug-in will read signature data from Topaz\xC2\xAE signature scanners. \n", 0);
    failures += checkString(entry, instance, 131, "ZERA1nnYnnn", 1);

    fresh(block, 4, instance);
    entry(block);
    printf("%s\n", failures == 0 ? "the plug-in answers at the host's offsets" : "FAILED");
    return failures == 0 ? 0 : 1;
}
