#pragma once
// The model protocol: a listing of materials, sections, nodes with supports and nodal loads, and
// members with hinges and member loads, in the display unit system of the model space.
#include "base/NumberText.h"
#include "model/MKPSpace.h"
#include "reports/StyledDocument.h"

// The support name of a node from its three restraint flags (first matching rule).
std::string SupportName(const TUzel& node);

// Deletes the nodes, sections and materials nothing uses, in this order (permanently).
void CleanUnusedObjects(TMKPSpace& space);

// Appends the protocol of the model as it stands (headings, lines, caption "Protokol").
void ListProtocol(const TMKPSpace& space, TStyledDocument& doc, char separator = DecimalSeparator());

// The whole protocol command without a window: clears the document, cleans the model, lists it.
void BuildProtocol(TMKPSpace& space, TStyledDocument& doc, char separator = DecimalSeparator());
