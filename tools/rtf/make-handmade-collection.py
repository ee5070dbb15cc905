#!/usr/bin/env python3
"""Writes the hand-made files of tests/rtf/collection: RTF in the style of Word, WordPad,
TextEdit, older Mac writers and Outlook, as Microsoft documents RTF 1.9.1, in the code
pages those writers use, and damaged files of the kinds readers meet.

  tools/rtf/make-handmade-collection.py
"""
import os
OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tests/rtf/collection")

import unicodedata
def encode1258(text):
    out = b""
    for c in text:
        try:
            out += c.encode("cp1258")
        except UnicodeEncodeError:
            d = unicodedata.normalize("NFD", c)
            try:
                out += unicodedata.normalize("NFC", d[:2]).encode("cp1258") + d[2:].encode("cp1258")
            except UnicodeEncodeError:
                out += d.encode("cp1258")
    return out

def hexes(text, cp):
    if cp == "cp1258":
        return "".join("\\'%02x" % b if b >= 0x80 else chr(b) for b in encode1258(text))
    return "".join("\\'%02x" % b if b >= 0x80 else chr(b) for b in text.encode(cp))

def uni(text, cp, uc=1):
    # \uN with the code page's bytes as fallback, as Word writes non-ASCII text
    out = []
    for ch in text:
        if ord(ch) < 0x80:
            out.append(ch)
            continue
        code = ord(ch)
        if code > 0xFFFF:
            code -= 0x10000
            units = [0xD800 + (code >> 10), 0xDC00 + (code & 0x3FF)]
        else:
            units = [code]
        for u in units:
            n = u - 0x10000 if u > 32767 else u
            try:
                fb = ch.encode(cp)
                fb = "".join("\\'%02x" % b for b in fb) if len(units) == 1 else "?"
            except UnicodeEncodeError:
                fb = "?"
            out.append("\\u%d%s" % (n, fb))
    return "".join(out)

files = {}

WORD_HEAD = r"""{\rtf1\adeflang1025\ansi\ansicpg%(cp)d\uc1\adeff0\deff0\stshfdbch0\stshfloch0\stshfhich0\stshfbi0\deflang1033\deflangfe1033\themelang1033\themelangfe0\themelangcs0{\fonttbl{\f0\fbidi \froman\fcharset0\fprq2{\*\panose 02020603050405020304}Times New Roman;}{\f1\fbidi \fswiss\fcharset0\fprq2{\*\panose 020b0604020202020204}Arial;}
{\f3\fbidi \froman\fcharset2\fprq2{\*\panose 05050102010706020507}Symbol;}{\f10\fbidi \fnil\fcharset2\fprq2{\*\panose 05000000000000000000}Wingdings;}%(fonts)s}
{\colortbl;\red0\green0\blue0;\red0\green0\blue255;\red255\green0\blue0;}{\*\defchp \fs22\loch\af31506\hich\af31506\dbch\af31505 }{\*\defpap \ql \li0\ri0\sa200\sl276\slmult1\widctlpar\wrapdefault\aspalpha\aspnum\faauto\adjustright\rin0\lin0\itap0 }
{\stylesheet{\ql \li0\ri0\sa200\sl276\slmult1\widctlpar\wrapdefault\aspalpha\aspnum\faauto\adjustright\rin0\lin0\itap0 \rtlch\fcs1 \af0\afs22\alang1025 \ltrch\fcs0 \fs22\lang1033\langfe1033\cgrid\langnp1033\langfenp1033 \snext0 \sqformat \spriority0 Normal;}{\*\cs10 \additive \ssemihidden \sunhideused \spriority1 Default Paragraph Font;}
{\s15\ql \li0\ri0\widctlpar\wrapdefault\aspalpha\aspnum\faauto\adjustright\rin0\lin0\itap0 \rtlch\fcs1 \af0\afs20\alang1025 \ltrch\fcs0 \fs20\lang1033\langfe1033\cgrid\langnp1033\langfenp1033 \sbasedon0 \slink16 \ssemihidden \sunhideused footnote text;}{\*\cs16 \additive \rtlch\fcs1 \af0 \ltrch\fcs0 \super \sbasedon10 \ssemihidden \sunhideused footnote reference;}%(styles)s}
{\*\rsidtbl \rsid1379034\rsid2437315}{\mmathPr\mmathFont34\mbrkBin0\mbrkBinSub0\msmallFrac0\mdispDef1\mlMargin0\mrMargin0\mdefJc1\mwrapIndent1440\mintLim0\mnaryLim1}{\info{\title Sample}{\author Someone}{\operator Someone}{\creatim\yr2014\mo3\dy5\hr10\min2}{\version1}{\edmins1}{\nofpages1}{\nofwords10}{\nofchars60}{\vern49247}}{\*\xmlnstbl {\xmlns1 http://schemas.microsoft.com/office/word/2003/wordml}}
\paperw12240\paperh15840\margl1440\margr1440\margt1440\margb1440\gutter0\ltrsect \widowctrl\ftnbj\aenddoc\trackmoves0\trackformatting1\donotembedsysfont1\relyonvml0\donotembedlingdata0\grfdocevents0\validatexml1\showplaceholdtext0\ignoremixedcontent0\saveinvalidxml0\showxmlerrors1\noxlattoyen\expshrtn\noultrlspc\dntblnsbdb\nospaceforul\formshade\horzdoc\dgmargin\dghspace180\dgvspace180\dghorigin1440\dgvorigin1440\dghshow1\dgvshow1\jexpand\viewkind1\viewscale100\pgbrdrhead\pgbrdrfoot\splytwnine\ftnlytwnine\htmautsp\nolnhtadjtbl\useltbaln\alntblind\lytcalctblwd\lyttblrtgr\lnbrkrule\nobrkwrptbl\snaptogridincell\allowfieldendsel\wrppunct\asianbrkrule\rsidroot1379034\newtblstyruls\nogrowautofit\usenormstyforlist\noindnmbrfts\felnbrelev\nocxsptable\indrmrg\relyonvml0\donotembedsysfont1\relyonvml0\donotembedlingdata0\grfdocevents0\validatexml1\showplaceholdtext0\ignoremixedcontent0\saveinvalidxml0\showxmlerrors1\noxlattoyen\expshrtn\noultrlspc\dntblnsbdb\nospaceforul\formshade\horzdoc\dgmargin\dghspace180\dgvspace180\dghorigin1440\dgvorigin1440\dghshow1\dgvshow1\jexpand\viewkind1\viewscale100\pgbrdrhead\pgbrdrfoot\splytwnine\ftnlytwnine\htmautsp\nolnhtadjtbl\useltbaln\alntblind\lytcalctblwd\lyttblrtgr\lnbrkrule\nobrkwrptbl\snaptogridincell\allowfieldendsel\wrppunct\asianbrkrule\rsidroot1379034 \fet0{\*\wgrffmtfilter 2450}\ilfomacatclnup0{\*\ftnsep \ltrpar \pard\plain \ltrpar\ql \li0\ri0\widctlpar\wrapdefault\aspalpha\aspnum\faauto\adjustright\rin0\lin0\itap0 \rtlch\fcs1 \af0\afs22\alang1025 \ltrch\fcs0 \fs22\lang1033\langfe1033\cgrid\langnp1033\langfenp1033 {\rtlch\fcs1 \af0 \ltrch\fcs0 \insrsid2437315 \chftnsep 
\par }}{\*\ftnsepc \ltrpar \pard\plain \ltrpar\ql \li0\ri0\widctlpar\wrapdefault\aspalpha\aspnum\faauto\adjustright\rin0\lin0\itap0 \rtlch\fcs1 \af0\afs22\alang1025 \ltrch\fcs0 \fs22\lang1033\langfe1033\cgrid\langnp1033\langfenp1033 {\rtlch\fcs1 \af0 \ltrch\fcs0 \insrsid2437315 \chftnsepc 
\par }}\ltrpar \sectd \ltrsect\linex0\endnhere\sectlinegrid360\sectdefaultcl\sftnbj {\*\pnseclvl1\pnucrm\pnstart1\pnindent720\pnhang {\pntxta .}}{\*\pnseclvl2\pnucltr\pnstart1\pnindent720\pnhang {\pntxta .}}
"""
PARA = r"\pard\plain \ltrpar\ql \li0\ri0\sa200\sl276\slmult1\widctlpar\wrapdefault\aspalpha\aspnum\faauto\adjustright\rin0\lin0\itap0 \rtlch\fcs1 \af0\afs22\alang1025 \ltrch\fcs0 \fs22\lang1033\langfe1033\cgrid\langnp1033\langfenp1033 "

def word(name, body, cp=1252, fonts="", styles=""):
    files["word-" + name] = (WORD_HEAD % {"cp": cp, "fonts": fonts, "styles": styles}) + body + "\n}"

def para(text):
    return PARA + "{\\rtlch\\fcs1 \\af0 \\ltrch\\fcs0 \\insrsid2437315 " + text + "}{\\rtlch\\fcs1 \\af0 \\ltrch\\fcs0 \\insrsid2437315 \n\\par }"

# Word: footnotes with \chftn and footnote text style
word("footnotes", para("The first claim") + r"""{\rtlch\fcs1 \af0 \ltrch\fcs0 \cs16\super\insrsid2437315 \chftn {\footnote \ltrpar \pard\plain \ltrpar\s15\ql \li0\ri0\widctlpar\wrapdefault\aspalpha\aspnum\faauto\adjustright\rin0\lin0\itap0 \rtlch\fcs1 \af0\afs20\alang1025 \ltrch\fcs0 \fs20\lang1033\langfe1033\cgrid\langnp1033\langfenp1033 {\rtlch\fcs1 \af0 \ltrch\fcs0 \cs16\super\insrsid2437315 \chftn }{\rtlch\fcs1 \af0 \ltrch\fcs0 \insrsid2437315  Source of the first claim.}}}""" + para(" is followed by a second paragraph with a custom mark") + r"""{\rtlch\fcs1 \af0 \ltrch\fcs0 \cs16\super\insrsid2437315 *{\footnote \ltrpar \pard\plain \ltrpar\s15\ql \li0\ri0\widctlpar\itap0 \fs20 {\rtlch\fcs1 \af0 \ltrch\fcs0 \cs16\super\insrsid2437315 *}{\rtlch\fcs1 \af0 \ltrch\fcs0 \insrsid2437315  A starred note.}}}""" + para("The end of the text."))

# Word: Cyrillic with \uN and 1251 fallback bytes
ru = "Съешь же ещё этих мягких французских булок, да выпей же чаю."
word("cyrillic-1251", para("{\\f40 " + uni(ru, "cp1251") + "}") + para("{\\f40 " + hexes("Только байты, без юникода.", "cp1251") + "}"), cp=1251,
     fonts=r"{\f40\fbidi \froman\fcharset204\fprq2 Times New Roman Cyr;}")

# Word: Greek, Turkish, Central European
word("greek-1253", para("{\\f41 " + hexes("Ξεσκεπάζω την ψυχοφθόρα βδελυγμία.", "cp1253") + "}"), cp=1253, fonts=r"{\f41\froman\fcharset161\fprq2 Times New Roman Greek;}")
word("turkish-1254", para("{\\f42 " + hexes("Pijamalı hasta yağız şoföre çabucak güvendi.", "cp1254") + "}"), cp=1254, fonts=r"{\f42\froman\fcharset162\fprq2 Times New Roman Tur;}")
word("polish-1250", para("{\\f43 " + hexes("Zażółć gęślą jaźń. Příliš žluťoučký kůň.", "cp1250") + "}"), cp=1250, fonts=r"{\f43\froman\fcharset238\fprq2 Times New Roman CE;}")
word("baltic-1257", para("{\\f44 " + hexes("Įlinkdama fechtuotojo špaga sublykčiojusi.", "cp1257") + "}"), cp=1257, fonts=r"{\f44\froman\fcharset186\fprq2 Times New Roman Baltic;}")
word("arabic-1256", para("{\\f45 " + hexes("نص حكيم له سر قاطع وذو شأن عظيم.", "cp1256") + "}"), cp=1256, fonts=r"{\f45\fbidi \froman\fcharset178\fprq2 Times New Roman (Arabic);}")
word("thai-874", para("{\\f46 " + hexes("เป็นมนุษย์สุดประเสริฐเลิศคุณค่า", "cp874") + "}"), cp=874, fonts=r"{\f46\fbidi \froman\fcharset222\fprq2 Tahoma;}")

# Word: Hebrew and Vietnamese bytes only
word("hebrew-1255", para("{\\f47 " + hexes("דג סקרן שט בים מאוכזב ולפתע מצא חברה.", "cp1255") + "}"), cp=1255, fonts=r"{\f47\fbidi \froman\fcharset177\fprq2 Times New Roman (Hebrew);}")
word("vietnamese-1258", para("{\\f48 " + hexes("Tôi có thể ăn thủy tinh mà không hại gì.", "cp1258") + "}"), cp=1258, fonts=r"{\f48\froman\fcharset163\fprq2 Times New Roman (Vietnamese);}")

# Word: Japanese in a 932 document with an ANSI font for quotes
word("japanese-932", para("{\\f1 \\'93quoted\\'94 }{\\f50 " + hexes("いろはにほへと、漢字とカタカナ。", "cp932") + "}") + para("{\\f50\\uc2 " + uni("日本語の文", "cp932", 2).replace("\\u", "\\uc2\\u") + "}"), cp=932,
     fonts=r"{\f50\fbidi \fnil\fcharset128\fprq2 MS Mincho;}")
# Word: Chinese and Korean
word("chinese-936", para("{\\f51 " + hexes("我能吞下玻璃而不伤身体。", "gbk") + "}"), cp=936, fonts=r"{\f51\fnil\fcharset134\fprq2 SimSun;}")
word("chinese-950", para("{\\f52 " + hexes("我能吞下玻璃而不傷身體。", "cp950") + "}"), cp=950, fonts=r"{\f52\fnil\fcharset136\fprq2 PMingLiU;}")
word("korean-949", para("{\\f53 " + hexes("나는 유리를 먹을 수 있어요.", "cp949") + "}"), cp=949, fonts=r"{\f53\fnil\fcharset129\fprq2 Batang;}")

# Word: lists through \listtable and \listoverridetable with \listtext
LISTS = r"""{\*\listtable{\list\listtemplateid-1\listhybrid{\listlevel\levelnfc0\levelnfcn0\leveljc0\leveljcn0\levelfollow0\levelstartat1\levelspace0\levelindent0{\leveltext\leveltemplateid67698703\'02\'00.;}{\levelnumbers\'01;}\rtlch\fcs1 \af0 \ltrch\fcs0 \fi-360\li720\lin720 }{\listlevel\levelnfc4\levelnfcn4\leveljc0\leveljcn0\levelfollow0\levelstartat1\lvltentative\levelspace0\levelindent0{\leveltext\leveltemplateid67698713\'02\'01.;}{\levelnumbers\'01;}\fi-360\li1440\lin1440 }{\listname ;}\listid1016077433}
{\list\listtemplateid-2\listhybrid{\listlevel\levelnfc23\levelnfcn23\leveljc0\leveljcn0\levelfollow0\levelstartat1\levelspace0\levelindent0{\leveltext\leveltemplateid67698689\'01\u-3913 ?;}{\levelnumbers;}\f3\fbias0 \fi-360\li720\lin720 }{\listname ;}\listid1222405512}
{\list\listtemplateid-3\listhybrid{\listlevel\levelnfc2\levelnfcn2\leveljc2\leveljcn2\levelfollow0\levelstartat1\levelspace0\levelindent0{\leveltext\leveltemplateid67698715\'02\'00.;}{\levelnumbers\'01;}\fi-180\li720\lin720 }{\listname ;}\listid1500000001}}
{\*\listoverridetable{\listoverride\listid1016077433\listoverridecount0\ls1}{\listoverride\listid1222405512\listoverridecount0\ls2}{\listoverride\listid1500000001\listoverridecount0\ls3}}"""
def item(text, ls, marker):
    return r"\pard\plain \ltrpar\s17\ql \fi-360\li720\ri0\sa200\sl276\slmult1\widctlpar\wrapdefault\aspalpha\aspnum\faauto\ls%d\adjustright\rin0\lin720\itap0\pararsid2437315 \fs22 {\listtext\pard\plain\ltrpar \rtlch\fcs1 \af0 \ltrch\fcs0 \insrsid2437315 %s\tab}{\rtlch\fcs1 \af0 \ltrch\fcs0 \insrsid2437315 %s\par }" % (ls, marker, text)
word("lists", LISTS + para("Three kinds of list:") + item("First number", 1, "1.") + item("Second number", 1, "2.") + item("A bullet", 2, "{\\f3 \\'b7}") + item("Another bullet", 2, "{\\f3 \\'b7}") + item("Roman one", 3, "i.") + item("Roman two", 3, "ii.") + para("After the lists."),
     styles=r"{\s17\ql \li720\ri0\sa200\sl276\slmult1\widctlpar\wrapdefault\aspalpha\aspnum\faauto\adjustright\rin0\lin720\itap0\contextualspace \rtlch\fcs1 \af0\afs22\alang1025 \ltrch\fcs0 \fs22\lang1033\langfe1033\cgrid\langnp1033\langfenp1033 \sbasedon0 \sqformat \spriority34 List Paragraph;}")

# Word: tab stops with leaders, right and decimal
word("tabs", r"\pard\plain \ltrpar\ql \li0\ri0\tqr\tldot\tx8640\wrapdefault\itap0 \fs22 {Introduction\tab 1\par}{Chapter one\tab 5\par}\pard\plain\ltrpar\ql\tx2160\tqc\tx4320\tqdec\tx7200 \fs22 {Item\tab Centre\tab 12.50\par}{Longer item\tab Middle\tab 7.125\par}" + para("End."))

# Word: nested table with \nesttableprops and \nonesttables
word("nested-table", para("Before the table.") + r"""\pard\plain \ltrpar\ql \li0\ri0\widctlpar\intbl\wrapdefault\aspalpha\aspnum\faauto\adjustright\rin0\lin0\yts15 \fs22 {Outer one\cell }\pard\plain \ltrpar\ql \li0\ri0\widctlpar\intbl\wrapdefault\itap2 \fs22 {Inner A\nestcell }{Inner B\nestcell }\pard\plain \ltrpar\ql \li0\ri0\sa160\sl259\slmult1\widctlpar\intbl\wrapdefault\itap2 \fs22 {\*\nesttableprops\trowd \irow0\irowband0\lastrow \ltrrow\ts15\trgaph108\trleft5\trftsWidth1\trftsWidthB3\trftsWidthA3\trautofit1\trpaddl108\trpaddr108\trpaddfl3\trpaddft3\trpaddfb3\trpaddfr3\tblrsid1379034\tbllkhdrrows\tbllkhdrcols\tbllknocolband\tblind113\tblindtype3 \clvertalt\clbrdrt\brdrs\brdrw10 \clbrdrl\brdrs\brdrw10 \cltxlrtb\clftsWidth3\clwWidth1800\clshdrawnil \cellx1805\clvertalt\cltxlrtb\clftsWidth3\clwWidth1800\clshdrawnil \cellx3605\nestrow}{\nonesttables
\par }\pard\plain \ltrpar\ql \li0\ri0\widctlpar\intbl\wrapdefault\aspalpha\aspnum\faauto\adjustright\rin0\lin0\yts15 \fs22 {\cell }\pard\plain \ltrpar\ql \li0\ri0\widctlpar\intbl\wrapdefault\itap1 \fs22 {\trowd \irow0\irowband0\lastrow \ltrrow\ts15\trgaph108\trleft-108\cellx4680\cellx9360\row }""" + para("After the table."))

# Word: Symbol font characters as bytes and as \u-3xxx
word("symbol", para(r"Greek: {\f3 \'61\'62\'67\'64} and signs {\f3 \'b3\'a3\'b9\'a5}, Word's own {\f3 \u-3999\'61\u-3998\'62}, a check {\f10 \'fc}."))

# Word: \* inside a group (as Word writes \*\cs) and field results
word("fields", para(r'{\loch\b0\*\cs7 The quick brown fox} jumps over {\field{\*\fldinst {\rtlch\fcs1 \af0 \ltrch\fcs0 HYPERLINK "http://example.org/" }}{\fldrslt {\rtlch\fcs1 \af0 \ltrch\fcs0 \cs15\ul\cf2 the lazy dog}}}, page {\field{\*\fldinst { PAGE }}{\fldrslt {1}}}.'))

# WordPad (RichEdit) style
def wordpad(name, cp, charset, font, text, raw=False, extra=""):
    body = hexes(text, {932: "cp932", 1251: "cp1251", 1255: "cp1255", 1252: "cp1252", 1250: "cp1250"}[cp])
    files["wordpad-" + name] = (r"{\rtf1\ansi\ansicpg%d\deff0\nouicompat\deflang1033{\fonttbl{\f0\fnil\fcharset%d %s;}{\f1\fnil\fcharset0 Calibri;}}" % (cp, charset, font)
        + "\n" + r"{\*\generator Riched20 10.0.19041}\viewkind4\uc1 " + "\n" + r"\pard\sa200\sl276\slmult1\f0\fs22\lang9 " + body + r"\par" + "\n" + extra + r"\f1 End of the note.\par" + "\n}\n")
wordpad("english", 1252, 0, "Calibri", "A plain note from WordPad, with café and naïve.", extra=r"\pard{\pntext\f1\'B7\tab}{\*\pn\pnlvlblt\pnf1\pnindent0{\pntxtb\'B7}}\fi-360\li720\sa200\sl276\slmult1 First bullet\par{\pntext\f1\'B7\tab}Second bullet\par\pard\sa200\sl276\slmult1 ")
wordpad("russian", 1251, 204, "Calibri", "Заметка из WordPad на русском языке.")
wordpad("hebrew", 1255, 177, "Arial", "הערה מוורדפד בעברית.")
wordpad("japanese", 932, 128, "MS UI Gothic", "ワードパッドのメモです。")
wordpad("numbered", 1252, 0, "Calibri", "Steps:", extra=r"\pard{\pntext\f1 1.\tab}{\*\pn\pnlvlbody\pnf1\pnindent0\pnstart1\pndec{\pntxta.}}\fi-360\li720\sa200\sl276\slmult1 Open the lid.\par{\pntext\f1 2.\tab}Pour the tea.\par\pard\sa200\sl276\slmult1 ")
files["wordpad-old"] = r"""{\rtf1\ansi\ansicpg1252\deff0\deflang1033{\fonttbl{\f0\fswiss\fcharset0 Arial;}}
{\*\generator Msftedit 5.41.15.1515;}\viewkind4\uc1\pard\f0\fs20 Old WordPad text.\par
\b Bold line.\b0\par
\i Italic line.\i0\par
}
"""

# TextEdit (Cocoa) style
def textedit(name, body, fonts=r"{\fonttbl\f0\fswiss\fcharset0 Helvetica;}", extra=""):
    files["textedit-" + name] = (r"{\rtf1\ansi\ansicpg1252\cocoartf2639" + "\n" + r"\cocoatextscaling0\cocoaplatform0" + fonts + "\n" + r"{\colortbl;\red255\green255\blue255;}" + "\n" + r"{\*\expandedcolortbl;;}" + "\n" + extra + r"\paperw11900\paperh16840\margl1440\margr1440\vieww11520\viewh8400\viewkind0" + "\n" + r"\pard\tx566\tx1133\tx1700\tx2267\tx2834\tx3401\tx3968\tx4535\tx5102\tx5669\tx6236\tx6803\pardirnatural\partightenfactor0" + "\n\n" + r"\f0\fs24 \cf0 " + body + "}")
textedit("plain", "Hello from TextEdit. Caf\\'e9 cr\\'e8me \\'96 na\\'efve.\\\n\\\nA second paragraph with a euro \\uc0\\u8364  sign.")
textedit("unicode", "Emoji \\uc0\\u55357 \\u56832  and Greek \\uc0\\u945 \\u946 \\u947 , Cyrillic \\uc0\\u1087 \\u1088 \\u1080 .")
textedit("list", "{\\listtext\t1.\t}First item\\\n{\\listtext\t2.\t}Second item\\\n\\pard\\tx720\\pardeftab720\\partightenfactor0\n\\cf0 After the list.",
         extra=r"{\*\listtable{\list\listtemplateid1\listhybrid{\listlevel\levelnfc0\levelnfcn0\leveljc0\leveljcn0\levelfollow0\levelstartat1\levelspace360\levelindent0{\*\levelmarker \{decimal\}.}{\leveltext\leveltemplateid1\'02\'00.;}{\levelnumbers\'01;}\fi-360\li720\lin720 }{\listname ;}\listid1}}" + "\n" + r"{\*\listoverridetable{\listoverride\listid1\listoverridecount0\ls1}}" + "\n")
textedit("tabs", "Name\\tab Value\\\nLonger name\\tab 42\\\n", extra="")
textedit("japanese", "\\'82\\'b1\\'82\\'f1\\'82\\'c9\\'82\\'bf\\'82\\'cd", fonts=r"{\fonttbl\f0\fnil\fcharset128 HiraginoSans-W3;}")

# Old Mac writers: \mac and Mac code pages
files["mac-roman"] = r"""{\rtf1\mac\ansicpg10000\deff0{\fonttbl{\f0\fnil\fcharset77 Times;}{\f1\fnil\fcharset77 Geneva;}}\pard\plain\f0\fs24 Caf""" + hexes("é crème brûlée – “quoted” … €", "mac_roman") + r"""\par\f1 Second line in Geneva.\par}"""
files["mac-japanese"] = r"""{\rtf1\mac\ansicpg10001\deff0{\fonttbl{\f0\fnil\fcharset78 Osaka;}}\pard\plain\f0\fs24 """ + hexes("お読みください。漢字とカナ。", "cp932") + r"""\par}"""
files["mac-greek-cyrillic"] = r"""{\rtf1\mac\deff0{\fonttbl{\f0\fnil\fcharset77 Times;}{\f1\fnil\fcharset85 Athens;}{\f2\fnil\fcharset89 Moscow;}}\pard\plain\f1\fs24 """ + hexes("Καλημέρα κόσμε", "mac_greek") + r"""\par\f2 """ + hexes("Привет, мир", "mac_cyrillic") + r"""\par\f0 Done.\par}"""

# Outlook: HTML inside RTF, nested deep
tags = "".join("{\\*\\htmltag64 <div>}" for _ in range(700))
closes = "".join("{\\*\\htmltag72 </div>}" for _ in range(700))
deep = "{" * 800 + "{\\*\\htmltag84 <span>}Deep text" + "}" * 800
files["outlook-html"] = r"""{\rtf1\ansi\ansicpg1252\fromhtml1 \fbidis \deff0{\fonttbl{\f0\fswiss\fcharset0 Arial;}{\f1\fmodern Courier New;}{\f2\fnil\fcharset2 Symbol;}{\f3\fmodern\fcharset0 Courier New;}}
{\colortbl\red0\green0\blue0;\red0\green0\blue255;}
\uc1\pard\plain\deftab360 \f0\fs24 {\*\htmltag19 <html>}{\*\htmltag34 <head>}{\*\htmltag1 \par }{\*\htmltag41 </head>}{\*\htmltag50 <body>}""" + tags + r"""\htmlrtf {\htmlrtf0 Hello from Outlook,{\*\htmltag116 <br>}\htmlrtf \line \htmlrtf0 a message in HTML.""" + deep + r"""{\*\htmltag244 <o:p>}{\*\htmltag252 </o:p>}\htmlrtf \par \htmlrtf0 }\htmlrtf }""" + closes + r"""{\*\htmltag58 </body>}{\*\htmltag27 </html>}}"""

# Damaged and odd files
files["broken-space-signature"] = "{\n    \\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\n\\f0\\fs24 Text after a line break before the signature.\\par\n}"
files["broken-bom"] = "\ufeff{\\rtf1\\ansi Text after a byte order mark.\\par}"
files["broken-unclosed"] = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 Never closed {\\b bold and\\par more text"
files["broken-extra-braces"] = "{\\rtf1\\ansi Text}}} and what follows the end"
files["broken-list-fragments"] = r"""{\rtf1\ansi\deff0{\fonttbl{\f0 Arial;}}{\list\listtemplateid1382206859{\listlevel\levelnfc0{\leveltext\'02\'00.;}{\levelnumbers\'01;}}{\listname List1382206859_1;}\listid1382206859}{\listoverride\listid1382206859\listoverridecount0\ls1}\pard\ls1\fi-360\li720 {\listtext 1.\tab}Item text\par\pard Body text after a stray list.\par}"""
files["broken-malformed-escape"] = r"""{\rtf1\ansi\ansicpg1252 x\u345\'3?x and \'zz and \u8364\'8x euro.\par}"""
files["broken-lone-surrogate"] = r"""{\rtf1\ansi A lone \u55357? half and \u-8704? the other.\par}"""

for name, text in files.items():
    data = text.encode("latin-1") if name != "broken-bom" else text.encode("utf-8")
    with open(os.path.join(OUT, name + ".rtf"), "wb") as f:
        f.write(data)
