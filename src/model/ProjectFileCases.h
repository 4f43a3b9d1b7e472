#pragma once
// The load cases and combinations of a project file: two sections after "*NodalLoads", written
// only when the model has cases or combinations, so that a model of one case is written as
// before. A reader that knows nothing of them skips every line (no line begins with a tag
// letter or is a two-letter load tag) and sees all loads as one case.
//
//   *LoadCases
//   ZS            a case: name, kind (G, Q, A), category ("-", "a" … "h", "s1" … "s3", "w",
//                 "t"), exclusive group, both values of a permanent case (0/1)
//   ZL            a run of load records of one case: case name, number of records; the runs
//                 cover the load records in file order (member loads, then nodal loads)
//   *Combinations
//   ZK            a combination: name, kind ("user", "uls", "sls-c", "sls-f", "sls-qp", "acc"),
//                 how it was formed, number of terms, then a case name and a factor per term
//
// Names, groups and formulas are written after an apostrophe, so that no text can begin like
// a tag or be an empty line.
#include <string>
#include <vector>

class TMKPSpace;
class TValueLines;
class TZatizeni;

// The two sections as file lines (CR LF), or nothing when the model has neither cases nor
// combinations. encode turns a name into its windows-1250 line (and refuses what cannot be one).
std::string CaseSectionsText(TMKPSpace& space, std::string (*encode)(const std::string& name, const std::string& what));

// Reads the records of the two sections while a project is read into a fresh model space.
class TCaseSectionReader {
public:
    TCaseSectionReader(TValueLines& lines, TMKPSpace& space) : mLines(lines), mSpace(space) {}
    // Every load record in file order, with the load it gave (nullptr when it was dropped).
    void LoadRecord(TZatizeni* load) { mLoads.push_back(load); }
    // The records after their tag line.
    void ReadCase();
    void ReadRun();
    void ReadCombination();
    // At the end of the file: the runs must cover every load record.
    void Finish();

private:
    std::string ProtectedText(const char* what);

    TValueLines& mLines;
    TMKPSpace& mSpace;
    std::vector<TZatizeni*> mLoads;
    std::size_t mAssigned = 0; // load records covered by the runs so far
    int mFirstCaseLine = 0;
    int mLastRunLine = 0;
};
