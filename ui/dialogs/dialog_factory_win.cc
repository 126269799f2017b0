#include "ui/dialogs/dialog_factory_win.h"

#include <string>

#include "distribution/brand_info.h"
#include "stats/landing_url.h"
#include "ui/dialogs/browser_site.h"
#include "ui/dialogs/classic_dialog_win.h"
#include "ui/dialogs/redesigned_dialog_win.h"

namespace lite {
namespace {

DialogContext BrandContext(const BrandInfo& brand, const DistribParamMap& params,
                           DialogContext context) {
  context.language_id = static_cast<uint16_t>(brand.language_id());
  SetDialogAddresses(brand.brand_id(), params, &context);
  return context;
}

}  // namespace

void SetDialogAddresses(std::string_view brand_id, const DistribParamMap& params,
                        DialogContext* context) {
  context->landing_url = BuildFullInstallerLandingUrl(brand_id, params);
  context->browser_site_url = BrowserSiteUrl(brand_id);
  context->feedback_url = FeedbackPageUrl(brand_id);
}

ErrorDialogProvider::ErrorDialogProvider(DialogContext context, bool download_button_disabled)
    : context_(std::move(context)), download_button_disabled_(download_button_disabled) {}

std::unique_ptr<InstallerDialog> ErrorDialogProvider::CreateForError(int error_code) const {
  const std::optional<DialogKind> kind = DialogKindForError(error_code, download_button_disabled_);
  if (!kind) return nullptr;
  return std::make_unique<RedesignedDialog>(context_, *kind);
}

DialogFactory::DialogFactory(const BrandInfo& brand, const DistribParamMap& params,
                             DialogContext context, bool download_button_disabled)
    : context_(BrandContext(brand, params, std::move(context))),
      redesign_(brand.IsDialogsRedesign()),
      download_button_disabled_(download_button_disabled) {}

std::unique_ptr<InstallerDialog> DialogFactory::CreateNoticeDialog(DialogKind kind) const {
  const std::optional<ClassicDialogVariant> classic = ClassicNoticeVariant(kind);
  if (!classic) return nullptr;
  if (redesign_) return std::make_unique<RedesignedDialog>(context_, kind);
  return std::make_unique<ClassicDialog>(context_, *classic);
}

std::unique_ptr<InstallerDialog> DialogFactory::CreateInterruptDialog() const {
  if (redesign_) return std::make_unique<RedesignedDialog>(context_, DialogKind::kInstallInterrupted);
  return std::make_unique<ClassicDialog>(context_, ClassicDialogVariant::kResume);
}

std::unique_ptr<InstallerDialog> DialogFactory::CreateNotEnoughDiskSpaceDialog() const {
  return std::make_unique<ClassicDialog>(context_, ClassicDialogVariant::kNotEnoughDiskSpace);
}

ErrorDialogProvider DialogFactory::CreateErrorDialogProvider() const {
  return ErrorDialogProvider(context_, download_button_disabled_);
}

std::unique_ptr<InstallerDialog> CreateDialogByName(std::string_view name,
                                                    const DialogContext& context) {
  struct ClassicName {
    std::string_view name;
    ClassicDialogVariant variant;
  };
  static constexpr ClassicName kClassicNames[] = {
      {"classic-0", ClassicDialogVariant::kNewerVersionInstalled},
      {"classic-3", ClassicDialogVariant::kCorporateNewerVersion},
      {"classic-4", ClassicDialogVariant::kCorporateUpdate},
      {"disk-space", ClassicDialogVariant::kNotEnoughDiskSpace},
      {"resume", ClassicDialogVariant::kResume},
  };
  for (const ClassicName& entry : kClassicNames) {
    if (entry.name == name) return std::make_unique<ClassicDialog>(context, entry.variant);
  }
  int number = 0;
  if (name.empty() || name.size() > 2) return nullptr;
  for (char c : name) {
    if (c < '0' || c > '9') return nullptr;
    number = number * 10 + (c - '0');
  }
  const std::optional<DialogKind> kind = DialogKindFromNumber(number);
  if (!kind) return nullptr;
  return std::make_unique<RedesignedDialog>(context, *kind);
}

}  // namespace lite
