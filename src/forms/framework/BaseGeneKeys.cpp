// Keyboard handling shared by all job forms, the condition pages and the
// system page, and the help numbers of F1.
#include "forms/framework/BaseGene.h"

namespace zb {

// SCAFFOLD: placeholders until this concern is built.
void TfrmBaseGene::FormKeyDown(TObject*, Word&, TShiftState) {}
void TfrmBaseGene::FormKeyPress(TObject*, char&) {}
void TfrmBaseGene::ShowHelp() {}
void TfrmBaseGene::pgOptionChange(TObject*) {}
void TfrmBaseGene::pgOptionChanging(TObject*, bool&) {}
void TfrmBaseGene::tsOption2Show(TObject*) {}
void TfrmBaseGene::ArrangeSystemPage() {}
void TfrmBaseGene::F2KeyPressed(Word, TControl*) {}

}  // namespace zb
