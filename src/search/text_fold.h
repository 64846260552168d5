#pragma once
// Accents and letter case do not matter to the full-text search: the texts are folded before
// they are indexed and the query the same way before it is parsed.

#include <string>
#include <string_view>

namespace tkv {

// The letters of UTF-8 text without their accents ("Pokémon" -> "Pokemon", "Łódź" -> "Lodz",
// "Straße" -> "Strasse"), combining marks dropped, letter case kept. Bytes that are not UTF-8 are
// taken as Latin-1 characters, so every input gives valid UTF-8.
std::string fold_accents(std::string_view utf8);

// fold_accents, then lower case.
std::string fold_word(std::string_view utf8);

// A typed query folded for the query parser: accents dropped and lower case, except the words
// AND, OR, NOT, XOR, NEAR and ADJ, which stay the operators a user types in capitals.
std::string fold_query(std::string_view utf8);

} // namespace tkv
