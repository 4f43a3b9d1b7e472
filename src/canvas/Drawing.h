#pragma once
// The drawing of the model onto one painter: the full repaint and the direct drawings share it.
// A drawer lives for one drawing; it reads the model space's view and display state and draws
// with the long label format (full repaint) or the short one (direct drawings), both in the
// display units.
#include <string>
#include <unordered_set>
#include <vector>

#include "analysis/Envelope.h"
#include "canvas/CanvasPainter.h"
#include "canvas/LabelPlacement.h"
#include "model/MKPSpace.h"

// What a label shows, for its imperial unit: lb, lb.ft, lb/ft (distributed loads), in.
enum class TLabelQuantity { Force, Moment, Intensity, Displacement };

class TSpaceDrawer {
public:
    TSpaceDrawer(TMKPSpace& space, TCanvasPainter& painter, bool shortLabels)
        : mSpace(space), mP(painter), mShort(shortLabels) {}

    // With a placer, the value labels of diagrams and deformed shapes are queued there and every
    // other text is marked as taken; the caller has the placer draw the labels at the end.
    // Without one, every label is written at once where the drawing puts it.
    void SetLabelPlacer(TLabelPlacer* placer) { mLabels = placer; }

    // The label text of a value in the display units: fixed(12, 3) in the full repaint, fixed(3, 2)
    // in the direct drawings.
    std::string Label(TReal value, TLabelQuantity quantity) const;

    void Grid();
    void OriginMarker();
    void AnchorMark();
    // P(r, θ) around the pixel of a node, every component rounded by itself.
    static TPixel Polar(TPixel centre, TReal r, TReal deg);

    void SupportSymbol(const TUzel& node, TPixel at);
    void SupportSymbolHatched(const TUzel& node, TPixel at);
    void NodeDot(const TUzel& node, TPixel at, int left, int right);
    void NodeNumber(const TUzel& node, TPixel at);
    void Reactions(const TUzel& node, TPixel at);
    void NodalLoads(const TUzel& node, TPixel at);
    void NodalLoad(const TZatizeni& load, TPixel at);

    // The whole member as the current mode shows it, then its number and its loads; `index`, its
    // position in the member list, takes its tables from the space's store (MemberResults.h).
    void Member(TPrut& member, int index = -1);
    void MemberLine(const TPrut& member, TPixel a, TPixel b);
    void MemberNumber(const TPrut& member, TPixel a, TPixel b);
    void MemberLoads(const TPrut& member, TPixel a);
    void MemberLoad(const TPrut& member, const TZatizeni& load, TPixel a);

    // Diagram of row 1 (M), 2 (N) or 3 (T) and the deformed shape (rows 5, 6) from a results
    // table laid out as the member's Results (row 0 the station positions).
    void Diagram(const TPrut& member, const TMatrix& results, int mode, TPixel a, TPixel b);
    void DeformedShape(const TPrut& member, const TMatrix& results, TPixel a, TPixel b);
    // An envelope of mode 1 to 3: the band between the largest (high) and smallest (low) values lightly
    // filled, both curves, and their labels with the combination that gives each value.
    void EnvelopeDiagram(const TPrut& member, const TMatrix& high, const TMatrix& low,
                         const TObalka::TMemberEnvelope& envelope, const TObalka& all, int mode, TPixel a, TPixel b);
    // The envelope of the deformed shape as numbers: the largest and smallest u and w of the member
    // at their stations, with their combinations.
    void EnvelopeDisplacements(const TPrut& member, const TObalka::TMemberEnvelope& envelope, const TObalka& all);

    void ArrowHead(TPixel q, TReal alpha, TReal angle);
    void MomentLoadSymbol(TPixel q, TReal m);
    void MomentReactionSymbol(TPixel q, TReal m);

    // A member shorter on the canvas than a line of text carries no readable text: its number,
    // its loads' values and its diagram's labels are left out (its lines are drawn as always).
    static constexpr int KTextRoom = 13;
    static bool TextsFit(TPixel a, TPixel b);

private:
    // Whether a load is drawn (LoadsOfCase), and the colour it is drawn in: its kind's, or its
    // case's (CaseColours).
    bool LoadShown(const TZatizeni& load) const;
    TColor LoadColour(const TZatizeni& load, TColor kindColour) const;
    TPixel MemberStation(const TPrut& member, TReal x) const;
    bool PassedOver(std::size_t i, std::size_t n, TPixel p, TPixel& last) const;
    void Text(int x, int y, const std::string& text, TColor color);
    // A value label of a diagram at its place, for the station whose axis point is `point`.
    void DiagramLabel(TPixel place, const std::string& text, TPixel point, bool important);

    TMKPSpace& mSpace;
    TCanvasPainter& mP;
    bool mShort;
    TLabelPlacer* mLabels = nullptr;
    // The texts of the member being drawn fit it (TextsFit).
    bool mTexts = true;
    // The points of an envelope's curves and band, kept from member to member.
    std::vector<TPixel> mUp, mDown, mBand;
    struct TSelection {
        template <typename T> bool Has(const TObjectList<T>& list, const T* item);
        int Lookups = 0;
        bool Made = false;
        std::unordered_set<const void*> Items;
    };
    TSelection mSelectedNodes, mSelectedMembers;
};

// The colour of the loads of the case at a position of LoadCases, when every case is drawn in its
// own colour; eight colours in turn, none of them the kinds' colours, red (selection, reactions)
// or black.
TColor CaseColour(int position);

// The stations that get a value label: strict local extremes of one of the rows and the two sides
// of a jump (two stations at one position). The first and last stations are never marked here.
std::vector<bool> MarkStations(const TMatrix& results, const std::vector<int>& rows);
