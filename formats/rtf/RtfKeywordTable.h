#pragma once

#include <string_view>

/// Maps the control words the reader acts on to a compact enum, without allocating.
class RtfKeywordTable
{
public:
    enum class Keyword {
        Unknown,
        // Document and code pages
        Ansi,
        AnsiCodePage,
        Mac,
        Pc,
        Pca,
        DefaultFont,
        CodePage,
        FontCharset,
        /// The font families of the font table, from \froman to \fdecor.
        FontRoman,
        FontSwiss,
        FontModern,
        FontScript,
        FontDecor,
        Binary,
        UnicodeSkip,
        Unicode,
        // Destinations the reader interprets
        FontTable,
        ColorTable,
        Red,
        Green,
        Blue,
        LegacyBullet,
        LegacyBulletText,
        ListTable,
        ListOverrideTable,
        StyleSheet,
        Style,
        /// Quillmere's own words inside a seed text group: which run it is, and how long the
        /// run was when written, its words and paragraph breaks, so a run the writer edited is
        /// still known as one.
        SeedRunId,
        SeedRunLength,
        SeedRunWords,
        SeedRunBreaks,
        InTable,
        BasedOn,
        Field,
        FieldInstruction,
        FieldResult,
        Picture,
        /// A destination whose content is read as if it were not a group of its own.
        Transparent,
        Object,
        Footnote,
        /// Headers and footers, from Header to FooterFirst in the order of PageFurniture::Story.
        Header,
        HeaderLeft,
        HeaderRight,
        HeaderFirst,
        Footer,
        FooterLeft,
        FooterRight,
        FooterFirst,
        /// \list and \listoverride: list table entries, also where they stray outside the tables.
        ListEntry,
        ListOverrideEntry,
        /// Parts of a list table entry, which never reach the body.
        ListPart,
        /// \listlevel and \leveltext, parts of a list table entry.
        ListLevel,
        LevelText,
        /// \pntxtb and \pntxta: what stands before and after an older list's number.
        LegacyTextBefore,
        LegacyTextAfter,
        /// \info, and its \title and \author.
        Info,
        Title,
        Author,
        // Destinations whose content never reaches the body
        SkippedDestination,
        // Character formatting, from Plain to Highlight; every word before Plain is read as a
        // destination or an encoding word.
        Plain,
        Bold,
        Italic,
        Underline,
        UnderlineNone,
        Strike,
        Hidden,
        Color,
        Font,
        FontSize,
        Superscript,
        Subscript,
        NoSuperSub,
        Highlight,
        // Paragraphs
        ParagraphDefault,
        Paragraph,
        ListOverride,
        ListLevelNumber,
        AlignLeft,
        AlignCenter,
        AlignRight,
        AlignJustify,
        LeftIndent,
        RightIndent,
        FirstIndent,
        SpaceBefore,
        SpaceAfter,
        LineSpacing,
        LineMultiple,
        PageBreakBefore,
        /// \page, and \sect, whose page break the next section's \sbknone or \sbkcol takes back.
        PageBreak,
        Section,
        SectionContinuous,
        // The page, from PaperWidth to Landscape: the document's words and the first section's.
        PaperWidth,
        PaperHeight,
        MarginLeft,
        MarginRight,
        MarginTop,
        MarginBottom,
        Landscape,
        TableRow,
        Cell,
        Row,
        // Table rows and cells
        CellBoundary,
        CellMerge,
        CellMergeUp,
        RowGap,
        RowLeft,
        /// A cell's or row's side, after which the border words describe that side.
        CellBorder,
        BorderSingle,
        BorderWidth,
        BorderNone,
        TableDepth,
        NestedCell,
        NestedRow,
        // Tab stops, from TabPosition to TabLeaderMiddleDots, the leaders in the order of
        // TextProperties::tabLeaders()
        TabPosition,
        TabRight,
        TabCenter,
        TabDecimal,
        TabBar,
        TabLeaderDots,
        TabLeaderHyphens,
        TabLeaderUnderline,
        TabLeaderThickLine,
        TabLeaderEquals,
        TabLeaderMiddleDots,
        FootnoteMark,
        Endnote,
        PageNumber,
        // Page furniture, from TitlePage to EndnoteStart
        TitlePage,
        FacingPages,
        HeaderY,
        FooterY,
        /// How footnotes and endnotes are numbered, each kind's styles in the order of
        /// Numbering::Style.
        FootnoteArabic,
        FootnoteLowerLetter,
        FootnoteUpperLetter,
        FootnoteLowerRoman,
        FootnoteUpperRoman,
        FootnoteSymbols,
        EndnoteArabic,
        EndnoteLowerLetter,
        EndnoteUpperLetter,
        EndnoteLowerRoman,
        EndnoteUpperRoman,
        EndnoteSymbols,
        FootnoteStart,
        EndnoteStart,
        // Inside lists, list tables and pictures
        ListId,
        LevelNumberFormat,
        NumberedLevel,
        BulletLevel,
        NumberDecimal,
        NumberLowerLetter,
        NumberUpperLetter,
        NumberLowerRoman,
        NumberUpperRoman,
        LegacyStart,
        LevelStartAt,
        PictureWidth,
        PictureHeight,
        PictureWidthGoal,
        PictureHeightGoal,
        PictureScaleX,
        PictureScaleY,
        Png,
        Jpeg,
        /// A control word standing for one character, such as \tab or \emdash.
        Character,
    };

    /// What a control word means; character is set for Keyword::Character.
    struct Entry
    {
        Keyword keyword = Keyword::Unknown;
        char16_t character = 0;
    };

    static Entry find(std::string_view word);
};
