#pragma once

// The C interface of the update library librenovex.so. The program loads the library at run
// time and calls SetApplicationHandle once, then CheckAndUpdate whenever the user asks.

#define RENOVEX_API extern "C" __attribute__((visibility("default")))

// Hands the library the program's main window, the parent of the library's dialogs. The skin
// manager is not needed here: the library's windows live in the program's QApplication and take
// its style with it.
RENOVEX_API void SetApplicationHandle(void* applicationWindow, void* skinManager);

// Reads the update descriptor at the address (http, https or file; UTF-8), tells the user
// whether a newer version exists and, on the user's yes, downloads the package to a folder the
// user picks and verifies its SHA-256. The access string goes to the server with the request.
// Returns true when an update is under way and the program must close now. Installs nothing.
RENOVEX_API bool CheckAndUpdate(const char* descriptorAddress, const char* accessString);

// Answers in place of the library's dialogs, so that tests run without a click. Texts are
// UTF-8. Null restores the dialogs; the library copies the table.
struct TRenovexPrompts {
    void* Context;
    // kind: RenovexInformation, RenovexWarning or RenovexError.
    void (*ShowMessage)(void* context, int kind, const char* text);
    // Nonzero for yes.
    int (*Ask)(void* context, const char* question);
    // The chosen folder, or null when the user cancelled; read before the next call.
    const char* (*ChooseFolder)(void* context, const char* title);
};
enum { RenovexInformation = 0, RenovexWarning = 1, RenovexError = 2 };
RENOVEX_API void RenovexSetPrompts(const TRenovexPrompts* prompts);

using TSetApplicationHandleFunction = void (*)(void*, void*);
using TCheckAndUpdateFunction = bool (*)(const char*, const char*);
using TRenovexSetPromptsFunction = void (*)(const TRenovexPrompts*);
