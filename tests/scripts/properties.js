// Drives the plugin as a settings script does: all twenty-two properties, all seven commands.
function rgb(r, g, b) { return r + g * 256 + b * 65536; }
var p = new ActiveXObject("Tintmark.TintmarkPlugin");
p.OpenBracketUnderLineColor = rgb(255, 0, 0);
p.MethodsBorderColor = rgb(160, 160, 160);
p.GutterColor = rgb(240, 240, 240);
p.GutterLineColor = rgb(200, 200, 200);
p.BookMarkColor = rgb(0, 0, 255);
p.OpenBracketFontColor = rgb(0, 0, 128);
p.OpenBracketBgColor = rgb(255, 255, 192);
p.OpenBracketFrameColor = rgb(128, 128, 128);
p.CloseBracketBgColor = rgb(255, 255, 192);
p.CloseBracketFrameColor = rgb(128, 128, 128);
p.CloseBracketFontColor = rgb(0, 0, 128);
p.CloseBracketUnderLineColor = rgb(255, 0, 0);
p.OpenBracketFontBold = true;
p.CloseBracketFontBold = true;
p.HighlightModeAlways = true;
p.DisableAutoHighlight = false;
p.CrossLinesColor = rgb(230, 230, 250);
p.EnableHorizCrossLine = true;
p.EnableVertCrossLine = false;
p.HighlightMiddle = true;
p.MismatchColor = rgb(230, 0, 0);
p.EnglishKeywords = true;
WScript.Echo("properties 22");
p.ExpandAll();
p.CollapseAll();
p.JumpToPairBracket();
p.SelectPairBlock();
p.SelectInnerBlock();
p.ShowPairBracket();
// Before the host has started the plugin there is no module: nothing to report.
WScript.Echo("CheckBlocks " + p.CheckBlocks());
WScript.Echo("commands 7");
try { p.GutterColor = "red"; WScript.Echo("mismatch none"); }
catch (e) { WScript.Echo((e.number >>> 0) == 0x80020005 ? "mismatch refused" : "mismatch " + e.number); }
var got = true;
try { var x = p.GutterColor; got = false; } catch (e) { }
WScript.Echo("getter " + (got ? "True" : "False"));
p = null;
WScript.Echo("done");
