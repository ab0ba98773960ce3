#pragma once
// Turning a field record of an older file into a current field: a rectangle field or a
// contour field with the default device type, owned by the caller. Each importer reads one
// record and throws the archive's exception when it cannot deliver a field: badIndex when
// there is no record or the record describes no field that can be built, badClass for a
// record of another class, badSchema for a record version it does not know. It never
// returns null.
#include "framework/core/WinTypes.h"
#include "model/CShelter.h"

#include <memory>

class CArchive;

// A CEditShelter by pointer in its form without a time; the field is stamped now.
std::unique_ptr<CShelter> ImportEditShelter(CArchive& ar);
// A CEditShelter by pointer in its form with a time, which the protective fields take over.
std::unique_ptr<CShelter> ImportEditShelterWithTime(CArchive& ar);
// A CBShelter, by pointer with its class name when withClassHeader is set, else embedded
// (its data only). One rectangle record gives a rectangle field, none a protective contour.
std::unique_ptr<CShelter> ImportBShelter(CArchive& ar, BOOL withClassHeader);
// A CCShelter, read as ImportBShelter reads; it gives a warning contour.
std::unique_ptr<CShelter> ImportCShelter(CArchive& ar, BOOL withClassHeader);
