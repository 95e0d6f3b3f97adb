// The list of examples.
#include "Examples.h"

#include "platform/StringUtils.h"

const std::vector<TExampleReport>& ExampleReports() {
  static const std::vector<TExampleReport> examples = {
      {"lines", "headings and paragraphs in a few fonts, left, centred and right", PrepareTextLinesReport},
      {"columns", "a long list in three columns with \"Page x of y\" footers", PrepareColumnsReport},
      {"table", "a price list in boxed tab cells with a total", PrepareTabTableReport},
  };
  return examples;
}

const TExampleReport* FindExampleReport(const std::string& Name) {
  for (const TExampleReport& example : ExampleReports()) {
    if (SameText(example.Name, Name)) return &example;
  }
  return nullptr;
}
