// SPDX-License-Identifier: GPL-3.0-or-later
// Every error code the system reports in the entries "LINE(nnn): ERR(nn)" of
// the message list, one row each: its name in the code, its number, its
// message and what to check when it comes. The message is string
// kIdsErrorBase + number of the string table, its "%1" taking the entry
// prefix "  LINE(nnn): ERR(nn) -" (renumbering's, code 32, is shown in a
// message box alone and has none). image/ErrorCodes.h makes the enum of the
// rows, the string table takes their messages, and ErrorAdvice
// (compiler/HelpPages.h) their advice for the help's error page and the
// SARIF rules. A code is added here and nowhere else.
#pragma once

// X(name, number, message, advice: what to check)
#define PLC_ERROR_CODES(X) \
    X(kErrNone, 0, "%1 Translate the programme without error.", \
      "") \
    X(kErrNoLabelOrEnd, 1, "%1 Unknown command or missing comment character. Programme line does not start with a lable (Nxxx) or an END-assignation.", \
      "Each statement line starts with its label N001 to N254 (or is END); a comment needs its ';'.") \
    X(kErrTooLong, 2, "%1 lines or variable texts too long or end of programme line cannot be found. Probably a comment character ';' is missing.", \
      "The line or the name is too long; a comment without its ';' makes the line run on.") \
    X(kErrInternal, 3, "%1 Internal error of interpreter.", \
      "The compiler met a state it does not expect: keep the programme and report it with the line.") \
    X(kErrLabel, 4, "%1 Error at lable adressing (Nxxx).", \
      "The label: N followed by 1 to 254, nothing else before the statement.") \
    X(kErrUnknownCommand, 5, "%1 Unexpected assignation or unknown command.", \
      "The keyword after the label, and the form of the statement, against the statement pages.") \
    X(kErrJumpTarget, 6, "%1 Faulty jump destination. Example: JMP (...) Nxxx; JMP (...) END.", \
      "The jump's target: a label Nxxx or END after the condition.") \
    X(kErrLabelUsed, 7, "%1 Label (Nxxx) is already used in programme.", \
      "Two statements carry the same label: renumber, or change one of them.") \
    X(kErrReadLine, 8, "%1 Error at reading the programme line.", \
      "The line could not be read from the text: check the file for stray control characters.") \
    X(kErrMissingProgramEnd, 9, "%1 Missing END-assignation of programme % P00 ... END.", \
      "The programme section %P00 needs END as its last line.") \
    X(kErrName, 10, "%1 Error at name % TEXT(NAME), DEF .. = NAME. No name found, name contains special characters.", \
      "The name in %TEXT(NAME) or DEF ... = NAME: letters, digits and '_' only, not empty.") \
    X(kErrNameTooLong, 11, "%1 Error at name % TEXT(NAME), DEF .. = NAME. Name too long (max. 32 characters).", \
      "The name has more than 32 characters.") \
    X(kErrNoHead, 12, "%1 No or faulty programme head % P00 or Text declaration head  % TEXT(Name) found.", \
      "The programme starts with %P00 (and the names with %TEXT(NAME)); check the head line's spelling.") \
    X(kErrTextCommand, 13, "%1 Unknown command during text definition ! Example for definition: DEF Hxx = Name_of_Hxx.", \
      "Between %TEXT(NAME) and its END only DEF lines: DEF Hxx = Name.") \
    X(kErrTextDeclared, 14, "%1 Text definition % TEXT(Name) already made.", \
      "There is one %TEXT(NAME) section; join the two.") \
    X(kErrCounter, 15, "%1 Faulty Counter-Number (Cxxx).", \
      "The counter number Cxxx: its range is on the names and statement pages.") \
    X(kErrFloat, 16, "%1 Faulty Float-Number (Fxxx).", \
      "The float variable number Fxxx.") \
    X(kErrInteger, 17, "%1 Faulty Integer-Number (Hxxx).", \
      "The integer variable number Hxxx.") \
    X(kErrFlag, 18, "%1 Faulty Flag-Number (Mxxx).", \
      "The flag number Mxxx.") \
    X(kErrTimer, 19, "%1 Faulty Timer-Number (Zxxx).", \
      "The timer number Zxxx.") \
    X(kErrVariable, 20, "%1 Unknown variable ! No variable type integer Hxxx, Float Fxxx, Flag Mxxx, Timer Zxxx or Counter Cxxx.", \
      "The operand must be a variable H, F, M, Z or C with its number, or a name given by DEF.") \
    X(kErrOperator, 21, "%1 Faulty Set-Operator.", \
      "The operator of the assignment (=, +, -, ...) and what may stand on its two sides.") \
    X(kErrProgramDefined, 22, "%1 Programme definition % P00 is already defined.", \
      "There is one %P00 section.") \
    X(kErrMissingTextEnd, 23, "%1 Missing END-assignation of Text declaration % TEXT(Name) ...END.", \
      "The %TEXT(NAME) section needs its END before %P00.") \
    X(kErrNoProgram, 24, "%1 No programme % P00 ... END found.", \
      "The text holds no %P00 ... END section.") \
    X(kErrIoNumber, 25, "%1 Faulty number of used input/output.", \
      "The input or output: group letters and number as on the names page (IS0, OE3, ...).") \
    X(kErrValue, 26, "%1 Faulty set value.", \
      "The value: its type and range for this operand, on the statement page.") \
    X(kErrBracket, 27, "%1 Missing bracket ']' at end of print.", \
      "The closing ']' at the end of the print statement.") \
    X(kErrCompare, 28, "%1 Faulty benchmark figure. Jumps can only be made to Null or unlike Null. Example: JMP( Hxxx = 0 ) Nyyy; JMP( Fxxx != 0.0 ) Nyyy.", \
      "The condition compares with 0 only: (Hxxx = 0), (Fxxx != 0.0).") \
    X(kErrNoFollowing, 29, "%1 Internal error: no following address found.", \
      "The compiler found no statement to follow this one: keep the programme and report it.") \
    X(kErrTargetMissing, 30, "%1 Jump destination JMP (...) Nxxx not available.", \
      "The label the jump or call names is not on any statement.") \
    X(kErrOrder, 31, "%1 Command sequence not in rising raw. Probably wrong name of lable.", \
      "The labels must rise from line to line; Renum puts them in order.") \
    X(kErrRenumber, 32, "Error at new-numbering of programme sequence.", \
      "Renum needs the statements to fit the labels 1 to 254: fewer statements.") \
    X(kErrTextCoding, 33, "%1 Error at text coding of programme sequence.", \
      "A record of the programme file does not turn back into a statement: the file is damaged or from another version.") \
    X(kErrGo, 34, "%1 Unknown GO-command (GO W A/R Hxx, GO A/R Hxx, GO 0+Hxx, GO 0).", \
      "The GO statement's form: GO W A/R Hxx, GO A/R Hxx, GO 0+Hxx or GO 0.") \
    X(kErrLineNotReplaced, 52, "%1 Programme line cannot be replaced.", \
      "Renum could not find a statement's line in the text any more: check the text for changes made meanwhile.")

