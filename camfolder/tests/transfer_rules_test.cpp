// Drop effects, what picture folders take, the answers of a transfer, and
// where camera pictures go on the camera's canvas.
#include <gtest/gtest.h>

#include "core/picture_layout.h"
#include "core/transfer_rules.h"

namespace {

TEST(TransferRules, PictureFoldersTakeTheCamerasFileTypes) {
  for (const char *name : {"A.JPG", "a.jpg", "B.TIF", "C.bmp", "D.LRF", "E.WAV", "F.AVI", "G.LST", "H.TXT", "x.y.JPG"})
    EXPECT_TRUE(IsKnownCameraFileType(name)) << name;
  for (const char *name : {"A.PNG", "A.GIF", "A.JPEG", "A.TIFF", "JPG", "A.", "A.JPG.EXE", ""})
    EXPECT_FALSE(IsKnownCameraFileType(name)) << name;
}

TEST(TransferRules, CopyAnswers) {
  EXPECT_EQ(NormalisedCopyAnswer(kAnswerCancel), kAnswerStop);
  for (int answer : {kAnswerYes, kAnswerNo, kAnswerAll}) EXPECT_EQ(NormalisedCopyAnswer(answer), kAnswerGoOn);
  EXPECT_EQ(NormalisedCopyAnswer(kAnswerStop), kAnswerStop);
}

TEST(TransferRules, EffectsByKeys) {
  const uint32_t both = kEffectCopy | kEffectMove;
  EXPECT_EQ(ChooseDropEffect(false, 0, true, kEffectMove, both), 0u);
  EXPECT_EQ(ChooseDropEffect(true, 0, true, kEffectMove, both), kEffectMove);
  EXPECT_EQ(ChooseDropEffect(true, 0, false, kEffectCopy, both), kEffectCopy);
  EXPECT_EQ(ChooseDropEffect(true, kKeyShift, true, kEffectCopy, both), kEffectMove);
  EXPECT_EQ(ChooseDropEffect(true, kKeyShift, false, kEffectCopy, both), 0u);
  EXPECT_EQ(ChooseDropEffect(true, kKeyShift | kKeyControl, true, kEffectCopy, both), 0u);
  EXPECT_EQ(ChooseDropEffect(true, kKeyControl, true, kEffectMove, both), kEffectCopy);
  EXPECT_EQ(ChooseDropEffect(true, 0, true, kEffectMove, kEffectCopy), 0u);  // never more than allowed
}

TEST(TransferRules, CameraItemsDroppedOnCameraFolders) {
  const auto one = [](const char *source, const char *target) { return CameraDropDefault({source}, target); };
  EXPECT_EQ(one("0:/DCIM/A.JPG", "0:/OTHER/"), kEffectMove);
  EXPECT_EQ(one("0:/DCIM/A.JPG", "1:/"), kEffectCopy);
  EXPECT_EQ(one("0:/DCIM/A.JPG", "0:/dcim/"), 0u);           // the folder that holds it
  EXPECT_EQ(one("0:/DCIM/SUB/", "0:/DCIM/SUB/"), 0u);        // onto itself
  EXPECT_EQ(one("0:/DCIM/SUB/", "0:/DCIM/SUB/IN/"), 0u);     // inside itself
  EXPECT_EQ(one("0:/DCIM/SUB/", "0:/dcim/sub/in/"), 0u);     // in any case
  EXPECT_EQ(one("0:/DCIM/SUB/", "0:/DCIM/SUBWAY/"), kEffectMove);
  EXPECT_EQ(one("0:/DCIM/SUB/", "0:/"), kEffectMove);
  EXPECT_EQ(one("", "0:/"), 0u);
  EXPECT_EQ(CameraDropDefault({}, "0:/"), 0u);

  // Every selected item counts, not only the first: two folders dropped on
  // the second of them, or into it, or on the folder holding a later one.
  EXPECT_EQ(CameraDropDefault({"0:/A/", "0:/B/"}, "0:/B/"), 0u);
  EXPECT_EQ(CameraDropDefault({"0:/A/", "0:/B/"}, "0:/B/IN/"), 0u);
  EXPECT_EQ(CameraDropDefault({"0:/A/X.JPG", "0:/B/Y.JPG"}, "0:/B/"), 0u);
  EXPECT_EQ(CameraDropDefault({"0:/A/", "0:/B/"}, "0:/C/"), kEffectMove);
  EXPECT_EQ(CameraDropDefault({"0:/A/", ""}, "0:/C/"), 0u);
}

TEST(PictureLayout, SidesBecomeMultiplesOf32) {
  const CameraPictureLayout same = LayoutForCamera(640, 480);
  EXPECT_TRUE(same.unchanged);
  EXPECT_EQ(same.width, 640u);
  EXPECT_EQ(same.cropWidth, 640u);

  // Larger than a multiple: the centre is cut.
  const CameraPictureLayout cut = LayoutForCamera(100, 70);
  EXPECT_FALSE(cut.unchanged);
  EXPECT_EQ(cut.width, 96u);
  EXPECT_EQ(cut.height, 64u);
  EXPECT_EQ(cut.cropX, 2u);
  EXPECT_EQ(cut.cropY, 3u);
  EXPECT_EQ(cut.cropWidth, 96u);
  EXPECT_EQ(cut.cropHeight, 64u);
  EXPECT_EQ(cut.pasteX, 0u);

  // Smaller than 32: pasted into the centre of a 32-pixel canvas.
  const CameraPictureLayout small = LayoutForCamera(10, 40);
  EXPECT_EQ(small.width, 32u);
  EXPECT_EQ(small.height, 32u);
  EXPECT_EQ(small.cropWidth, 10u);
  EXPECT_EQ(small.cropX, 0u);
  EXPECT_EQ(small.pasteX, 11u);
  EXPECT_EQ(small.cropY, 4u);
  EXPECT_EQ(small.cropHeight, 32u);
  EXPECT_EQ(small.pasteY, 0u);

  for (uint32_t side : {1u, 31u, 32u, 33u, 63u, 64u, 65535u}) {
    const CameraPictureLayout l = LayoutForCamera(side, side);
    EXPECT_EQ(l.width % 32, 0u) << side;
    EXPECT_GE(l.width, 32u);
    EXPECT_LE(l.cropX + l.cropWidth, side);
    EXPECT_LE(l.pasteX + l.cropWidth, l.width);
  }
}

}  // namespace
