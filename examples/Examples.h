#pragma once
// Small code-based reports that show the engine at work: they are what `pagepress sample`
// records and renders, and what a reader looks at to see how report code is written.
//
// Each example prepares a report engine (margins, events); running the engine's Execute
// then prints it. Any engine will do: the file engine records it as a page stream.
#include <string>
#include <vector>

class TBaseReport;

struct TExampleReport {
  const char* Name;
  const char* Description;
  // Sets up Report; Report must outlive the run.
  void (*Prepare)(TBaseReport& Report);
};

// Every example, in the order they are listed.
const std::vector<TExampleReport>& ExampleReports();
// The example of that name (letter case does not matter), or nullptr.
const TExampleReport* FindExampleReport(const std::string& Name);

// ===== The examples =====
// Headings and paragraphs in a few fonts, left, centred and right.
void PrepareTextLinesReport(TBaseReport& Report);
// A long list in three columns over several pages, each with a "Page x of y" footer.
void PrepareColumnsReport(TBaseReport& Report);
// A price list in boxed tab cells with a header row and a total.
void PrepareTabTableReport(TBaseReport& Report);
