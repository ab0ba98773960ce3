#pragma once
// A static splitter: a grid of panes (at most 16 by 16) with an ideal and a minimum size
// per row and column. Layout gives every row but the last its ideal size while room is
// left (a size below the minimum shows as 0); the last row takes the rest. Columns alike.
#include "framework/ui/CWnd.h"

#include <vector>

struct CCreateContext;

class CSplitterWnd : public CWnd {
    DECLARE_DYNAMIC(CSplitterWnd)
public:
    CSplitterWnd();

    BOOL CreateStatic(CWnd* pParentWnd, int nRows, int nCols, DWORD dwStyle = WS_CHILD | WS_VISIBLE,
                      UINT nID = AFX_IDW_PANE_FIRST);
    // A view of the class in the pane, with the pane's ideal size.
    virtual BOOL CreateView(int row, int col, const CRuntimeClass* pViewClass, SIZE sizeInit, CCreateContext* pContext);

    int GetRowCount() const { return m_nRows; }
    int GetColumnCount() const { return m_nCols; }
    void GetRowInfo(int row, int& cyCur, int& cyMin) const;
    void SetRowInfo(int row, int cyIdeal, int cyMin);
    void GetColumnInfo(int col, int& cxCur, int& cxMin) const;
    void SetColumnInfo(int col, int cxIdeal, int cxMin);
    virtual void RecalcLayout();

    CWnd* GetPane(int row, int col) const;
    int IdFromRowCol(int row, int col) const;
    BOOL IsChildPane(CWnd* pWnd, int* pRow, int* pCol) const;
    CWnd* GetActivePane(int* pRow = nullptr, int* pCol = nullptr) const;
    void SetActivePane(int row, int col, CWnd* pWnd = nullptr);
    virtual void ActivateNext(BOOL bPrev = FALSE);
    virtual BOOL CanActivateNext(BOOL bPrev = FALSE);
    // Splits into two rows and two columns of equal size.
    virtual BOOL DoKeyboardSplit();

    // Gaps between panes and the border around them, in pixels.
    int m_cxSplitter = 7;
    int m_cySplitter = 7;
    int m_cxBorderShare = 1;
    int m_cyBorderShare = 1;
    int m_cxSplitterGap = 7;
    int m_cySplitterGap = 7;
    int m_cxBorder = 2;
    int m_cyBorder = 2;

protected:
    void OnSize(UINT nType, int cx, int cy) override;
    // The bars between the panes in the face colour, each pane in a sunken edge.
    BOOL OnEraseBkgnd(CDC* pDC) override;

private:
    struct Info {
        int nIdealSize = 0;
        int nMinSize = 0;
        int nCurSize = 0;
    };
    static void LayoutLine(std::vector<Info>& infos, int total, int gap);

    int m_nRows = 0;
    int m_nCols = 0;
    std::vector<Info> m_rowInfo;
    std::vector<Info> m_colInfo;
};
