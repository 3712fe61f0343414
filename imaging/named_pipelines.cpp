#include "named_pipelines.h"

#include <QFileInfo>

#include "environment.h"

QString TNamedPipelines::FileName() {
  return Environment::ProgramFolder() + QStringLiteral("/pipeline.txt");
}

void TNamedPipelines::Load() {
  FLines.Clear();
  if (QFileInfo::exists(FileName())) FLines.LoadFromFile(FileName());
}

bool TNamedPipelines::Save(QString* errorText) const { return FLines.SaveToFile(FileName(), errorText); }

QStringList TNamedPipelines::Names() const {
  QStringList names;
  for (int i = 0; i < FLines.Count(); ++i)
    if (FLines.Get(i).contains(u'=')) names.append(FLines.Names(i));
  return names;
}

QString TNamedPipelines::PipelineText(const QString& Name) const {
  return FLines.Values(Name);
}

bool TNamedPipelines::Store(const QString& Name, const QString& PipelineText) {
  const int i = IndexOf(Name);
  if (i < 0) {
    // Appended as typed, also with an empty text (a name followed by "=").
    FLines.Add(Name + u'=' + PipelineText);
    return true;
  }
  if (PipelineText.isEmpty())
    FLines.Delete(i);
  else
    FLines.Put(i, FLines.Names(i) + u'=' + PipelineText);
  return false;
}

void TNamedPipelines::Remove(const QString& Name) {
  const int i = IndexOf(Name);
  if (i >= 0) FLines.Delete(i);
}
