#pragma once
// One resource script of the language folder as the current resource module while the
// object lives, so that texts by id read as the shipped English ones.
#include "support/LanguageScripts.h"

#include <string>

class LanguageScript : public LanguageScripts {
public:
    explicit LanguageScript(const std::string& fileName) : LanguageScripts({fileName.c_str()}) {}
};
