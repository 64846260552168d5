#pragma once
// The stemmer of a profile's language, so that "jumping" finds "jump".

#include <string_view>
#include <xapian.h>

namespace tkv {

// Xapian's stemmer for the language a profile names, in English or in the language itself
// ("German", "Deutsch", "Magyar"); a stemmer that leaves words alone for a language Xapian has
// none for (Czech, Polish, ...).
Xapian::Stem stemmer_for_language(std::string_view language);

// The name stemmer_for_language chose ("english"), or "none".
std::string stemmer_name(const Xapian::Stem& stemmer);

} // namespace tkv
