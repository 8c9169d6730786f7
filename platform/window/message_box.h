#pragma once
// A message box with no owner and no caption, showing a UTF-8 text; returns
// when the user has closed it. False when no box could be shown.
namespace vtrak {

bool ShowMessageBox(const char* utf8Text);

}  // namespace vtrak
