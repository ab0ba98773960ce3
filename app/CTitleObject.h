#pragma once
// A document's title.
#include "app/CStyledTextObject.h"

class CTitleObject : public CStyledTextObject {
    DECLARE_DYNAMIC(CTitleObject)
public:
    explicit CTitleObject(const CString& text) : CStyledTextObject(TextStyle::Title, text) {}
};
