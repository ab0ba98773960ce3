#pragma once
// A heading inside a section.
#include "app/CStyledTextObject.h"

class CSubTitle2Object : public CStyledTextObject {
    DECLARE_DYNAMIC(CSubTitle2Object)
public:
    explicit CSubTitle2Object(const CString& text) : CStyledTextObject(TextStyle::SubTitle2, text) {}
};
