// What the control's library exports besides its COM entries.
#pragma once

#define SIGPLUS_API __attribute__((visibility("default")))
