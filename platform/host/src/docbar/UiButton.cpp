// The check state of buttons.
#include <vantrel/host/UiButton.h>

namespace vantrel {

void UiButton::SetCheck(int check) { control().check = check; }

} // namespace vantrel
