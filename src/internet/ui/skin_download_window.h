#pragma once
// Tskindownload: downloads every skin of the filtered catalogue from the current server into the
// skins folder and unpacks each, with an overall and a per-file bar.

#include <QDialog>

#include <vector>

#include "internet/skin_catalogue.h"

namespace tkv {

struct ProgramContext;
class Dialogs;

} // namespace tkv
