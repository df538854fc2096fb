' Drives the plugin as a settings script does: all twenty-two properties, all seven commands.
Option Explicit
Dim p, names, i
Set p = CreateObject("Tintmark.TintmarkPlugin")
p.OpenBracketUnderLineColor = RGB(255, 0, 0)
p.MethodsBorderColor = RGB(160, 160, 160)
p.GutterColor = RGB(240, 240, 240)
p.GutterLineColor = RGB(200, 200, 200)
p.BookMarkColor = RGB(0, 0, 255)
p.OpenBracketFontColor = RGB(0, 0, 128)
p.OpenBracketBgColor = RGB(255, 255, 192)
p.OpenBracketFrameColor = RGB(128, 128, 128)
p.CloseBracketBgColor = RGB(255, 255, 192)
p.CloseBracketFrameColor = RGB(128, 128, 128)
p.CloseBracketFontColor = RGB(0, 0, 128)
p.CloseBracketUnderLineColor = RGB(255, 0, 0)
p.OpenBracketFontBold = True
p.CloseBracketFontBold = True
p.HighlightModeAlways = True
p.DisableAutoHighlight = False
p.CrossLinesColor = RGB(230, 230, 250)
p.EnableHorizCrossLine = True
p.EnableVertCrossLine = False
p.HighlightMiddle = True
p.MismatchColor = RGB(230, 0, 0)
p.EnglishKeywords = True
WScript.Echo "properties 22"
p.ExpandAll
p.CollapseAll
p.JumpToPairBracket
p.SelectPairBlock
p.SelectInnerBlock
p.ShowPairBracket
' Before the host has started the plugin there is no module: nothing to report.
WScript.Echo "CheckBlocks " & p.CheckBlocks
WScript.Echo "commands 7"
On Error Resume Next
p.GutterColor = "red"
If Err.Number = 13 Then WScript.Echo "mismatch refused" Else WScript.Echo "mismatch " & Err.Number
Err.Clear
Dim x
x = p.GutterColor
' A Boolean would print in the words of the locale ("Истина" under Russian): print ours.
If Err.Number <> 0 Then WScript.Echo "getter True" Else WScript.Echo "getter False"
Err.Clear
On Error GoTo 0
Set p = Nothing
WScript.Echo "done"
