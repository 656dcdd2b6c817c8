#pragma once

// The texts both request table screens share; each table's own texts are
// given by its TableKind.

namespace sw48230 {

// The undo and redo buttons: captions, then hints.
inline constexpr int Msg_Undo = 499;
inline constexpr int Msg_Redo = 500;
inline constexpr int Msg_Undo_Hint = 501;
inline constexpr int Msg_Redo_Hint = 502;

// The test of the requests: the Test and Stop buttons (captions, hints),
// the result column (title, hint), the status words in the order of
// ProbeStatus, the progress and the note when no row is left to test.
inline constexpr int Msg_Test = 529;
inline constexpr int Msg_Test_Hint = 530;
inline constexpr int Msg_Test_Stop = 531;
inline constexpr int Msg_Test_Stop_Hint = 532;
inline constexpr int Msg_Test_Result = 533;
inline constexpr int Msg_Test_Result_Hint = 534;
inline constexpr int Msg_Test_First_Status = 535;
inline constexpr int Msg_Test_Status_Count = 6;
inline constexpr int Msg_Test_Progress = 541;
inline constexpr int Msg_Test_No_Row = 542;
// What Test will test (%1 rows): the selected rows, every enabled row, or
// every row where the hardware has no Enable column.
inline constexpr int Msg_Test_Scope_Selected = 592;
inline constexpr int Msg_Test_Scope_Enabled = 593;
inline constexpr int Msg_Test_Scope_All = 594;
// How a test ended: %1 rows tested of %2, then the count of each status in
// the order of ProbeStatus (%3 to %8).
inline constexpr int Msg_Test_Summary = 595;
inline constexpr int Msg_Test_Summary_Stopped = 596;

}  // namespace sw48230
