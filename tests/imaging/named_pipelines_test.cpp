#include <gtest/gtest.h>

#include <QDir>

#include "named_pipelines.h"
#include "temp_world.h"

TEST(NamedPipelines, ReadsAnyLineEndsAndLooksUpWithoutCase) {
  TTempWorld world;
  world.Write("program/pipeline.txt", "Portrait=Contrast,Level=20,Complement\r\nSoft=SoftFilter\nEmpty=\rno name here\r\n");
  TNamedPipelines list;
  list.Load();
  EXPECT_EQ(list.Names(), (QStringList{"Portrait", "Soft", "Empty"}));
  EXPECT_EQ(list.PipelineText("PORTRAIT"), "Contrast,Level=20,Complement");
  EXPECT_TRUE(list.Contains("empty"));
  EXPECT_EQ(list.PipelineText("Empty"), "");
  EXPECT_FALSE(list.Contains("Landscape"));
}

TEST(NamedPipelines, MissingFileMeansNoPipelines) {
  TTempWorld world;
  TNamedPipelines list;
  list.Load();
  EXPECT_TRUE(list.Names().isEmpty());
}

TEST(NamedPipelines, StoreAppendsReplacesAndRemovesThenSavesWithCrLf) {
  TTempWorld world;
  world.Write("program/pipeline.txt", "A=Nearest\r\nB=Gamma,Level=5\r\n");
  TNamedPipelines list;
  list.Load();
  EXPECT_TRUE(list.Store("C", "Complement"));
  EXPECT_FALSE(list.Store("b", "Gamma,Level=9"));  // keeps the stored name
  EXPECT_FALSE(list.Store("a", ""));                // an empty text removes the line
  EXPECT_TRUE(list.Store("D", ""));                 // a new name is kept even when empty
  ASSERT_TRUE(list.Save());
  EXPECT_EQ(world.Read("program/pipeline.txt"), "B=Gamma,Level=9\r\nC=Complement\r\nD=\r\n");
  list.Remove("c");
  list.Remove("nothing");
  EXPECT_EQ(list.Names(), (QStringList{"B", "D"}));
}

TEST(NamedPipelines, FailedSaveLeavesFileAndListAlone) {
  TTempWorld world;
  // A folder where the file should be: nothing can be written there.
  QDir().mkpath(world.ProgramFolder() + "/pipeline.txt");
  TNamedPipelines list;
  list.Store("X", "Gamma");
  QString why;
  EXPECT_FALSE(list.Save(&why));
  EXPECT_FALSE(why.isEmpty());
  EXPECT_EQ(list.PipelineText("X"), "Gamma");
  EXPECT_EQ(TNamedPipelines::SaveFailMessage(), "Save fail.(Check diskspace and file-attributes.)");
}
