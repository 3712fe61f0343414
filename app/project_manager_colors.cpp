// The "Fore/Back Color" command: the colour-scheme dialog and taking its
// result into the settings.
#include "bg_color_form.h"
#include "project_manager.h"

void TProjectManager::BackgroundColorClick() {
  TColorScheme values;
  values.MainFG = FFontColor;
  values.MainBG = FColor;
  values.ClientFG = FWindowTextColor;
  values.ClientBG = FWindowBackgroundColor;
  values.Border = FWindowBorder;
  if (TBgColorForm::Open(FProgramFolder, values, this)) ApplyColorScheme(values);
}

void TProjectManager::ApplyColorScheme(const TColorScheme& scheme) {
  FFontColor = scheme.MainFG;
  FColor = scheme.MainBG;
  FWindowTextColor = scheme.ClientFG;
  FWindowBackgroundColor = scheme.ClientBG;
  FWindowBorder = scheme.Border;
  ApplyMainColors();
  ApplyWindowColors();
}
