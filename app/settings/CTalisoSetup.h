#pragma once
// The program-wide view, grid, scan, colour and timer settings, kept in the sections
// "Settings" and "Colors" of the INI file. The application owns the one global object
// (GetTalisoSetup), loads it at start-up and saves it at exit and after the options
// sheet; the views, documents and frames read it; the options sheet edits a copy.
#include "framework/core/CObject.h"
#include "framework/core/WinTypes.h"

class ProfileBatch;

class CTalisoSetup : public CObject {
public:
    CTalisoSetup();
    // Copies take the settings, never the loaded mark: a copy is not what was loaded.
    CTalisoSetup(const CTalisoSetup& other);
    CTalisoSetup& operator=(const CTalisoSetup& other);
    ~CTalisoSetup() override = default;

    // Every setting to its built-in default.
    void SetDefaults();
    // The built-in defaults and no loaded mark: as before the first Load.
    void Unload();
    // Reads every key from the INI file. A missing, empty or unreadable value, or one
    // outside the setting's range, gives the default; nothing in the file is changed.
    void Load(LPCTSTR iniPath);
    // Writes every key; FALSE when the file could not take one of them.
    BOOL Save(LPCTSTR iniPath) const;
    // Writes every key into a write of the file still to be committed.
    void Write(ProfileBatch& ini) const;
    // Set by Load: the object holds the user's settings, so saving keeps them.
    BOOL IsLoaded() const { return m_bLoaded; }

    // Colour of field kind 0, 1 or 2; light grey for any other kind.
    COLORREF GetFieldColor(int kind) const;
    // The grids converted from cm to the unit (0 cm, 1 mm, 2 dm), at most 32767.
    int GetRectGrid(int unit) const;
    int GetRadiusGrid(int unit) const;
    // The view range limits and the zoom step of a view in the unit.
    static int GetMinViewRange(int unit);
    int GetMaxViewRange(int unit) const;
    static int GetZoomStep(int unit);

    // The settings, in the order of the INI file.
    int m_nShelterSize;       // beam count of new fields
    int m_nMarkerSizeUnits;   // size of the edit markers
    int m_nMaxViewSize;       // largest view range, cm
    int m_nRectGrid;          // rectangular grid spacing, cm
    int m_nRadiusGrid;        // radius step of the polar grid, cm
    int m_nAngleGrid;         // angle step of the polar grid, degrees
    BOOL m_bViewRectGrid;     // 1 rectangular grid, 0 polar grid
    BOOL m_bViewMetric;       // 1 lengths in cm, 0 in inch
    BOOL m_bViewLineScan;     // scan drawn as a line
    BOOL m_bViewGrid;
    BOOL m_bViewLabels;
    BOOL m_bViewAngle;
    BOOL m_bViewMaximize;
    BOOL m_bDrawOnScreen;
    BOOL m_bViewEditScan;     // scan shown while editing
    int m_nEditScanInterval;  // seconds between scans in edit mode
    int m_nScanMode;          // how a monitoring result is fetched: 0, 1 or 2
    int m_nScanDivisor;
    int m_nScanAverage;
    int m_nScanPartFrom;      // first and last beam of a partial scan
    int m_nScanPartTo;
    COLORREF m_crNormalScan;
    COLORREF m_crDamageScan;
    COLORREF m_crShelterA;    // field kinds 0, 1 and 2
    COLORREF m_crShelterB;
    COLORREF m_crShelterC;
    COLORREF m_crMarker;
    COLORREF m_crGrid;
    COLORREF m_crLabel;
    int m_nTimerProg;         // period of the child frames' cycle timer, ms
    int m_nTimerScan;         // scan polling period of the live modes, ms

private:
    void CopySettings(const CTalisoSetup& other);

    BOOL m_bLoaded = FALSE;
};

// The one settings object of the program.
CTalisoSetup& GetTalisoSetup();
