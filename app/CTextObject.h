#pragma once
// Body text.
#include "app/CStyledTextObject.h"

class CTextObject : public CStyledTextObject {
    DECLARE_DYNAMIC(CTextObject)
public:
    explicit CTextObject(const CString& text) : CStyledTextObject(TextStyle::Body, text) {}
};
