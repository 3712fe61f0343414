#include <gtest/gtest.h>

#include <QFile>

#include "bound_relater.h"
#include "heif_encode.h"
#include "image_bound.h"
#include "picture_loader.h"
#include "project_manager.h"
#include "prompt_service.h"
#include "temp_world.h"

// A phone photo dropped on the window becomes an image object that shows it
// through the HEIF plug-in beside the program.
TEST(PhonePhoto, HeicDropShowsThePicture) {
  TTempWorld w;
  TScopedScriptedPrompts prompts;
  heif_init(nullptr);
  ASSERT_TRUE(QFile::copy(QStringLiteral(ZEL_HEIF_PLUGIN), w.ProgramFolder() + QStringLiteral("/heif.so")));
  const QString photo = w.Root() + QStringLiteral("/IMG_0001.HEIC");
  if (!TestHeif::EncodeWithLibheif(TestHeif::Gradient(64, 48), heif_compression_HEVC, photo)) {
    heif_deinit();
    GTEST_SKIP() << "this libheif cannot encode HEVC";
  }
  {
    TProjectManager m(w.ProgramFolder());
    ASSERT_NE(m.PictureLoader(), nullptr);
    EXPECT_TRUE(m.PictureLoader()->IsSupportedExtension(QStringLiteral(".heic")));
    m.DropFiles({photo});
    ASSERT_EQ(m.Objects()->Count(), 1);
    auto* image = qobject_cast<TImageBound*>(m.Objects()->Item(0));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->FileName(), photo);
    EXPECT_EQ(image->PictureWidth, 64);
    EXPECT_EQ(image->PictureHeight, 48);
    EXPECT_EQ(image->DumpMemo(), nullptr);
  }
  heif_deinit();
}
