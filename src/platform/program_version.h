// The program's version, one value for the version resource and the support
// log. Plain macros only: the resource compiler reads this file too.
#pragma once

#define ORVANE_VERSION_MAJOR 12
#define ORVANE_VERSION_MINOR 0
#define ORVANE_VERSION_PATCH 0
#define ORVANE_VERSION_BUILD 0

#define ORVANE_VERSION_NUMBERS \
  ORVANE_VERSION_MAJOR, ORVANE_VERSION_MINOR, ORVANE_VERSION_PATCH, ORVANE_VERSION_BUILD
#define ORVANE_VERSION_QUOTED(text) #text
#define ORVANE_VERSION_QUOTE(text) ORVANE_VERSION_QUOTED(text)
// "12.0.0.0"
#define ORVANE_VERSION_TEXT \
  ORVANE_VERSION_QUOTE(     \
      ORVANE_VERSION_MAJOR.ORVANE_VERSION_MINOR.ORVANE_VERSION_PATCH.ORVANE_VERSION_BUILD)
