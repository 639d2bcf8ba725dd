// CLocaleScope: switches the thread's locale to "C" and back.
#include "data/CLocaleScope.h"

locale_t CLocaleScope::CLocale() {
    static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return c;
}

CLocaleScope::CLocaleScope() {
    if (CLocale() != static_cast<locale_t>(nullptr)) {
        m_previous = uselocale(CLocale());
    }
}

CLocaleScope::~CLocaleScope() {
    if (m_previous != static_cast<locale_t>(nullptr)) {
        uselocale(m_previous);
    }
}
