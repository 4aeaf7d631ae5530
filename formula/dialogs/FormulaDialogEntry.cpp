// The formula library's dialog entry points: the editor, the two indicator
// parameter dialogs and the note. Each runs its dialog modally, owned by
// the program's main window, through the window layer's modal loop.
#include <cstring>

#include "formula/dialogs/FormularDlg.h"
#include "formula/dialogs/SingleTechSetDlg.h"
#include "formula/dialogs/TechNoteDlg.h"
#include "formula/dialogs/TechSetDlg.h"
#include "formula/editor/TechNote.h"
#include "formula/face/FormulaFace.h"
#include "platform/gbk.h"

using namespace formula;

void CFormulaFace::OnOpenFormulaDesc(const char* name) {
  STechNote note;
  if (!FindFormulaNote(name, note)) return;
  CTechNoteDlg dialog;
  dialog.SetTitle(note.title);
  dialog.SetNote(note.note);
  dialog.DoModal();
}

int CFormulaFace::OnOpenFormulaParasSet(char* name) {
  CTechSetDlg dialog;
  dialog.SetIndicator(name);
  const int result = int(dialog.DoModal());
  if (result == IDOK) {
    ExitDefineTech();
    // A formula code fits 20 bytes; the caller's buffer holds the name it
    // passed, and no code is longer than that field.
    if (name)
      platform::GbkCopyCut(name, sizeof(SFormulaRecord::szCode), dialog.GetIndicator().c_str());
  }
  return result;
}

int CFormulaFace::OnOpenSingleFormulaParasSet(const char* name) {
  CSingleTechSetDlg dialog;
  dialog.SetIndicator(name);
  if (dialog.DoModal() != IDOK) return 0;
  ExitDefineTech();
  return 1;
}

int CFormulaFace::OnOpenDefineTechDlg(SDefineReturn& ret, const char* name) {
  CFormularDlg dialog;
  dialog.SetPresetName(name);
  const int result = int(dialog.DoModal());
  int area = 0, fixedAxis = 0;
  dialog.GetResult(area, fixedAxis);
  ret.nArea = area;
  ret.nFixedAxis = fixedAxis;
  return result;
}
