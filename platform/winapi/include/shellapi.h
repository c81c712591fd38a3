// Starting programs through the shell.
#pragma once

#include "winplatform/types.h"

// Failure results of ShellExecuteA (any result of 32 or less is a failure).
#define SE_ERR_FNF ((INT)2)
#define SE_ERR_PNF ((INT)3)
#define SE_ERR_ACCESSDENIED ((INT)5)
#define SE_ERR_OOM ((INT)8)
#define SE_ERR_NOASSOC ((INT)31)

// Opens a file with the verb "open" (or a null verb): an executable file is
// started as a new process that runs on independently of the caller and
// inherits its standard streams and environment. The file may be quoted and
// is given in Windows or POSIX notation, as is the working directory (the
// caller's when null); the parameters are split into arguments as a Windows
// command line is. Returns a value greater than 32 when the program was
// started; otherwise SE_ERR_FNF or SE_ERR_PNF for a missing file or folder,
// SE_ERR_ACCESSDENIED for a file that may not be executed, 11 (bad format)
// for a file that is not a program, SE_ERR_NOASSOC for a folder or another
// verb, SE_ERR_OOM when no process could be made.
WINPLATFORM_API HINSTANCE WINAPI ShellExecuteA(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters,
                                               LPCSTR directory, INT showCommand);
