#pragma once
// A section heading.
#include "app/CStyledTextObject.h"

class CSubTitle1Object : public CStyledTextObject {
    DECLARE_DYNAMIC(CSubTitle1Object)
public:
    explicit CSubTitle1Object(const CString& text) : CStyledTextObject(TextStyle::SubTitle1, text) {}
};
