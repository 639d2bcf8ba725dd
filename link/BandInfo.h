// BANDINFO: the shadow-band unit's identification texts.
#pragma once

struct BANDINFO {
    char id[32];
    char serial[32];
    char version[32];
    char versionTime[32];
};
