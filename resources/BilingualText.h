// One entry of a text table of the resources: its number and its English and Japanese forms.
#pragma once

template <typename Id>
struct BilingualText {
    Id id;
    const char* english;
    const char* japanese;
};
