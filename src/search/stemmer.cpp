#include "search/stemmer.h"

#include "search/text_fold.h"

#include <map>
#include <string>

namespace tkv {

Xapian::Stem stemmer_for_language(std::string_view language) {
    // Native names of the languages Xapian stems; English names are Xapian's own.
    static const std::map<std::string, std::string, std::less<>> native{
        {"deutsch", "german"},   {"magyar", "hungarian"},     {"romana", "romanian"},
        {"francais", "french"},  {"espanol", "spanish"},      {"italiano", "italian"},
        {"nederlands", "dutch"}, {"portugues", "portuguese"}, {"svenska", "swedish"},
        {"norsk", "norwegian"},  {"dansk", "danish"},         {"suomi", "finnish"},
        {"russkij", "russian"},  {"turkce", "turkish"},       {"euskara", "basque"},
        {"catala", "catalan"},   {"nederlandse", "dutch"},    {"brasileiro", "portuguese"}};
    std::string name = fold_word(language);
    name = name.substr(0, name.find_first_of(" \t(-_,;/"));
    if (const auto it = native.find(name); it != native.end()) name = it->second;
    // Two-letter codes and anything else Xapian does not take mean no stemming, not a guess.
    if (name.size() < 3) return Xapian::Stem();
    try {
        return Xapian::Stem(name);
    } catch (const Xapian::Error&) {
        return Xapian::Stem();
    }
}

std::string stemmer_name(const Xapian::Stem& stemmer) {
    if (stemmer.is_none()) return "none";
    // get_description() is "Xapian::Stem(english)".
    std::string d = stemmer.get_description();
    const auto open = d.find('(');
    const auto close = d.rfind(')');
    return open != std::string::npos && close > open ? d.substr(open + 1, close - open - 1) : d;
}

} // namespace tkv
