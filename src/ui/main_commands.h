// The commands that the main window's menus and toolbar buttons run.
#pragma once

namespace tavrine {

enum class MainCommand {
  ReadModel,
  SaveModel,
  ExportDistribution,
  Exit,
  RedrawElements,
  RedrawFieldVectors,
  FillGrey,
  ChangeColour,
  InitializeByMenu,
  InitializeByToolbar,
  CreateRecMag,
  CreateCylinderMag,
  CreateSecMag,
  CreateRhMag,
  CreateStrRecCoil,
  CreateSecRecCoil,
  CreateStrCylCoil,
  CreateSecCylCoil,
  EraseRecMag,
  EraseSecMag,
  EraseCoil,
  RectGridDialog,
  SectGridDialog,
  StartRectRun,
  StartSectRun,
  PcShapeSelector,
  ForceDialog,
  InputDataTables,
  RectResultTable,
  SectResultTable,
  KtParameterDialog,
  KtSweepDialog,
  HelpContents,
  HelpSearch,
  About,
  FitAll,
};

}  // namespace tavrine
