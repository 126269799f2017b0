// Makes the dialog a caller asks for by purpose, in the style and with the
// texts and addresses the brand gives.
#ifndef UI_DIALOGS_DIALOG_FACTORY_WIN_H_
#define UI_DIALOGS_DIALOG_FACTORY_WIN_H_

#include <memory>
#include <string_view>

#include "distribution/distrib_params.h"
#include "ui/dialogs/dialog_context_win.h"
#include "ui/dialogs/dialog_kind.h"
#include "ui/dialogs/installer_dialog_win.h"

namespace lite {

class BrandInfo;

// The dialogs that follow an engine error.
class ErrorDialogProvider {
 public:
  ErrorDialogProvider(DialogContext context, bool download_button_disabled);
  // None for error code 0.
  std::unique_ptr<InstallerDialog> CreateForError(int error_code) const;

 private:
  const DialogContext context_;
  const bool download_button_disabled_;
};

class DialogFactory {
 public:
  // |context| gives the module, scale, Windows release, actions and log
  // path; the language and the addresses are taken from |brand| and
  // |params|. |download_button_disabled| is the switch
  // "disable-error-dialog-download-button".
  DialogFactory(const BrandInfo& brand, const DistribParamMap& params, DialogContext context,
                bool download_button_disabled);

  // Notice kinds 0, 3 and 4: redesigned when the brand asks for the new
  // dialogs, else classic. None for other kinds.
  std::unique_ptr<InstallerDialog> CreateNoticeDialog(DialogKind kind) const;
  // Kind 7, or the classic resume question.
  std::unique_ptr<InstallerDialog> CreateInterruptDialog() const;
  // Always classic.
  std::unique_ptr<InstallerDialog> CreateNotEnoughDiskSpaceDialog() const;
  ErrorDialogProvider CreateErrorDialogProvider() const;

  const DialogContext& context() const { return context_; }

 private:
  const DialogContext context_;
  const bool redesign_;
  const bool download_button_disabled_;
};

// For the gallery and the tests: the dialog called |name| ("0".."12" for
// the redesigned kinds; "classic-0", "classic-3", "classic-4", "disk-space"
// and "resume" for the classic ones), or none.
std::unique_ptr<InstallerDialog> CreateDialogByName(std::string_view name,
                                                    const DialogContext& context);

// The addresses of |context| filled in for a brand id and parameters.
void SetDialogAddresses(std::string_view brand_id, const DistribParamMap& params,
                        DialogContext* context);

}  // namespace lite

#endif  // UI_DIALOGS_DIALOG_FACTORY_WIN_H_
