// Example "table": a price list in boxed tab cells, a shaded header row and a total.
#include "Examples.h"
#include "engine/VXBase.h"
#include "platform/Format.h"

namespace {

constexpr int Own = -32768;  // a tab argument that keeps the cell's own setting

struct TItem {
  const char* Name;
  int Quantity;
  double Price;
};

const TItem Items[] = {
    {"Paper, A4, 500 sheets", 10, 4.95}, {"Stapler", 2, 12.50},    {"Staples, box of 1000", 5, 1.80},
    {"Ballpoint pens, blue", 20, 0.45},  {"Ring binder", 8, 2.75}, {"Desk lamp", 1, 29.90},
};

void SetTableTabs(TBaseReport& R) {
  R.ClearTabs();
  R.SetTab(1.0, pjLeft, 3.0, 5, blAll, 0);
  R.SetTab(Own, pjRight, 1.0, 5, blAll, 0);
  R.SetTab(Own, pjRight, 1.25, 5, blAll, 0);
  R.SetTab(Own, pjRight, 1.25, 5, blAll, 0);
}

std::string Money(double Value) {
  return Format("%.2f", {Value});
}

void PrintBody(TBaseReport& R) {
  R.SetFontName("Arial");
  R.SetFontSize(14);
  R.SetBold(true);
  R.PrintLn("Office supplies");
  R.SetFontSize(10);
  R.PrintLn("");
  SetTableTabs(R);
  R.SetTabShade(15);
  R.Print("\tItem\tQuantity\tPrice\tAmount");
  R.NewLine();
  R.SetBold(false);
  R.SetTabShade(0);
  double total = 0;
  for (const TItem& item : Items) {
    const double amount = item.Quantity * item.Price;
    total += amount;
    R.Print("\t" + std::string(item.Name) + "\t" + Format("%d", {item.Quantity}) + "\t" + Money(item.Price) +
            "\t" + Money(amount));
    R.NewLine();
  }
  R.SetBold(true);
  R.Print("\tTotal\t\t\t" + Money(total));
  R.NewLine();
  R.ClearTabs();
}

}  // namespace

void PrepareTabTableReport(TBaseReport& Report) {
  Report.SetTitle("Tab table");
  Report.SetMarginLeft(1);
  Report.SetMarginRight(1);
  Report.SetMarginTop(1);
  Report.SetMarginBottom(1);
  Report.OnPrint = [&Report](TObject*) { PrintBody(Report); };
}
