// The names of the language texts: each is the key of its text in section
// "text" of every <code>.lang file, so the values never change once shipped.
// One name per text; every lookup in the program goes through these names.
#pragma once

#include <cstdint>

namespace tcmap {

enum class TextId : int32_t {
    // Main window: title, menus and their items.
    ProgramName = 0,
    FileMenu = 1,
    DrawMenu = 2,
    OpenFilesItem = 3,
    ChangeMapItem = 4,
    SaveMapItem = 5,
    SettingsItem = 6,
    ExitItem = 7,
    StartDrawingItem = 8,
    ClearDisplayItem = 9,
    TitleTrackFiles = 10,
    TitleNone = 11,
    TitleFileCount = 12,  // %s: the number of files
    TitleMap = 13,
    IdleTitle = 14,
    IdleHint = 15,
    NoMap = 16,
    NoMapTitle = 17,
    NoTrackFile = 18,
    TrackFilesTitle = 19,

    // The draw job's log lines and warnings.
    ReadingFile = 20,  // %s: the path
    NoFixToDraw = 21,
    ComputingFrame = 22,
    DrawingMap = 23,
    PictureFailed = 24,
    ErrorStatus = 25,
    PictureFailureAdvice = 26,
    DrawingTracks = 27,

    LegendPosition = 28,
    WritingMap = 29,
    MapTooLarge = 30,

    // Save.
    NoMapToSave = 31,
    SaveMapTitle = 32,
    SaveFailed = 33,  // %s: "CopyError" or the conversion's result code
    SaveFailedTitle = 34,

    // File chooser window.
    ChooserTitle = 35,
    ChooserFilesLabel = 36,
    ShortcutGoTo = 37,
    ShortcutProgramFolder = 38,
    ShortcutDesktop = 39,
    ShortcutDocuments = 40,
    ShortcutFavourites = 41,
    SelectAllButton = 42,
    SelectNoneButton = 43,
    SearchScopeLabel = 44,
    ScopeCurrentFolder = 45,
    ScopeAllSubfolders = 46,
    CloseButton = 47,
    OkButton = 48,
    SearchingSubfolders = 49,
    FilesFound = 50,    // %d
    SortingFiles = 51,  // %d

    // Settings window.
    SettingsTitle = 52,
    DegreesUnit = 53,
    PixelsUnit = 54,
    TrackWidth = 55,
    PointSize = 56,
    HorizontalMargin = 57,
    VerticalMargin = 58,
    MinimumWidth = 59,
    MinimumHeight = 60,
    DrawingOrder = 61,

    TrackFilesToRead = 62,  // %d
    ManyFixesToSort = 63,
    SkipDisturbance = 64,
    CancelButton = 65,
    SaveButton = 66,
    MapDialogTitle = 67,
    MapDialogFilter = 68,
    SaveDialogTitle = 69,
    SaveDialogFilter = 70,

    // Language menu and window.
    LanguageMenu = 71,
    CurrentLanguage = 72,
    SelectLanguageItem = 73,
    LanguageSelection = 74,
    AvailableLanguages = 75,
    UseThisLanguage = 76,
    LanguageTitle = 77,
    LanguageSaved = 78,
    LanguageNotSaved = 79,

    JobRunning = 80,
    Drawing = 81,  // the busy job's message title and the window title's tag
    Ready = 82,
    GlobalDrawingItem = 83,
    BackgroundColourItem = 84,
    RegionalDrawingItem = 85,
    RegionPrompt = 86,
    RegionTitle = 87,
    BadRegion = 88,
    MapNotLoaded = 89,
    NoUsableFix = 90,  // %s: the path
    NothingTicked = 91,
    NothingChosen = 92,

    AutoDrawMenu = 93,
    AutoDrawOffItem = 94,
    AutoDrawNormalItem = 95,
    AutoDrawRegionalItem = 96,
    AutoDrawGlobalItem = 97,

    // Legend position list.
    LegendNowhere = 98,
    LegendTopLeft = 99,
    LegendBottomLeft = 100,
    LegendTopRight = 101,
    LegendBottomRight = 102,
    LegendAutomatic = 103,

    // Legend rows of the Wendrel style; the categories serve both styles.
    LegendDepression = 104,
    LegendStorm = 105,
    LegendCategory1 = 106,
    LegendCategory2 = 107,
    LegendCategory3 = 108,
    LegendCategory4 = 109,
    LegendCategory5 = 110,

    NewColourScale = 111,
    DrawingLegend = 112,
    MapSaved = 113,
    DrawingStyle = 114,
    WendrelStyle = 115,
    TcvStyle = 116,
    DefaultMapFile = 117,
    ChangeButton = 118,
    SetFromField = 119,  // %s: the field's label

    // Legend rows of the TCV style.
    TcvLegendDepression = 120,
    TcvLegendStorm = 121,
    TcvLegendSubtropicalDepression = 122,
    TcvLegendSubtropicalStorm = 123,

    // Track reset list.
    TrackReset = 124,
    ResetNone = 125,
    ResetAutomatic = 126,
    ResetLastFixOnly = 127,

    // File list window.
    ManageFileListItem = 128,
    FileListTitle = 129,
    ColumnNumber = 130,
    ColumnName = 131,
    ColumnFolder = 132,
    ColumnType = 133,
    ColumnSize = 134,
    FileListCount = 135,  // %d
    AddButton = 136,
    RemoveButton = 137,
    RemoveDuplicatesButton = 138,
    ClearButton = 139,
    RemoveDuplicatesQuestion = 140,
    RemoveDuplicatesTitle = 141,
    ClearListQuestion = 142,
    ClearListTitle = 143,
    RefreshButton = 144,
    AddingFiles = 145,  // %d
    OpenButton = 146,
    BestTrackType = 148,
    ForecastType = 149,
    UnsupportedFile = 150,  // %s: the path; empty for the type column

    LoadingMap = 151,  // %s: the path
    DrawingStarted = 152,

    // Drawing order list and switches.
    ShowAllFixes = 153,
    OrderTogether = 154,
    OrderFixesOnTop = 155,
    OrderByIntensity = 156,

    SearchRunning = 157,
    SearchingTitle = 158,
    ShowTextLabels = 159,
    TextFormatItem = 160,
    ShowGrid = 161,

    // Wind radii list.
    WindRadii = 162,
    RadiiNone = 163,
    RadiiAllFixes = 164,
    RadiiLastFixOnly = 165,
    RadiiTropicalOnly = 166,

    // Text label format window.
    TextFormatTitle = 167,
    TextFormatDescription = 168,
    TestButton = 169,
    SampleShownAs = 170,  // %s: what the sample values are, %s: the result
    SampleTitle = 171,    // %s: the field's label
    TimeFormatLabel = 172,
    ForecastFormatLabel = 173,
    TimeSampleValues = 174,
    ForecastSampleValues = 175,
    SaveFormatsQuestion = 176,
    SaveFormatsTitle = 177,

    SavingMap = 178,

    // Track archives (HURDAT2, IBTrACS, CMA best tracks).
    ArchiveType = 190,
    ArchiveGroup = 191,
    ArchiveYears = 192,
    ArchiveBasins = 193,
    ArchiveStorms = 194,
    ArchiveStormsDrawn = 195,    // %s: the archive, %d: storms drawn, %d: storms in it
    ArchiveRowsSkipped = 196,    // %s: the archive, %d: rows skipped, %d: the first one's line
    ArchiveStormCutShort = 197,  // %s: the archive, %s: the storm

    VectorMapTooLarge = 201,

    // Settings check: the warnings, then what a key accepts (the end of
    // SettingsBadValue).
    SettingsFileMissing = 220,          // the file does not exist; the defaults are read
    SettingsFileUnreadable = 221,       // the file cannot be read; the defaults are read
    SettingsFileMissingUsing = 222,     // %s: the settings file read instead
    SettingsFileUnreadableUsing = 223,  // %s: the settings file read instead
    SettingsUnknownSection = 224,       // %s: the section
    SettingsUnknownSectionNear = 225,   // %s: the section, %s: a known one
    SettingsRepeatedSection = 226,      // %s: the section, %d: the line read
    SettingsKeyOutsideSection = 227,    // %s: the key
    SettingsNotASetting = 228,          // %s: the line
    SettingsUnknownKey = 229,           // %s: the section, %s: the key
    SettingsUnknownKeyNear = 230,       // %s, %s: section and key, %s: a known key
    SettingsKeyInOtherSection = 231,    // %s, %s: section and key, %s: its own section
    SettingsRepeatedKey = 232,          // %s, %s: section and key, %d: the line read
    SettingsBadValue = 233,             // %s, %s, %s: section, key, value, %s: what it accepts
    SettingsValueCut = 234,             // %s, %s: section and key, %d: the byte limit
    SettingsClean = 235,                // %s: the file
    ExpectSwitch = 236,
    ExpectWholeNumber = 237,  // %d, %d: lowest and highest
    ExpectChoice = 238,       // %d, %d: lowest and highest, %s: the items
    ExpectNumber = 239,       // %s, %s: lowest and highest
    ExpectColour = 240,
    ExpectYears = 241,
    ExpectBasins = 242,  // %s: the codes
    ExpectRegion = 243,
    ExpectLabelFormat = 244,  // %d: the values the label is given
    ListSeparator = 245,

    // The forecaster's map: a-deck cycles and aids, cone, swath.
    ForecastNeedsTcv = 260,  // %s: the path
    ExpectCycle = 261,
    ForecastCycleMissing = 262,   // %s: the path, %s: the cycle asked for, %s: the cycles present
    ForecastNoOfficialAid = 263,  // %s: the path, %s: the cycle, %s: the aid
    ForecastNoConeRadii = 264,    // %s: the basin
    ForecastBadAids = 265,        // %s: what is wrong with the aids setting
    ForecastCycleDrawn = 266,     // %s: the path, %s: the cycle, %d: aids drawn
    ForecastAidsMissing = 267,    // %s: the path, %s: the cycle, %s: the aids named but absent

    // What a map says about itself: the title block and the intensity chart.
    TitleSeason = 300,        // %s: the years, %s: the basin
    TitleStorms = 301,        // %d: storms on the map
    TitleForecastFrom = 302,  // %s: the cycle, "2023-10-24 06"
    TitleSource = 303,        // %s: agency and file
    BasinAtlantic = 304,
    BasinEastPacific = 305,
    BasinCentralPacific = 306,
    BasinWestPacific = 307,
    BasinNorthIndian = 308,
    BasinSouthern = 309,
    BasinSeveral = 310,
    ChartWind = 311,      // the wind axis
    ChartPressure = 312,  // the pressure axis
    ChartTime = 313,      // the time axis

    // The window: the messages of the last job, the help menu.
    ReadyWithWarnings = 320,  // %d: the warnings of the job
    MessagesItem = 321,
    MessagesTitle = 322,
    HelpMenu = 323,
    KeysItem = 324,
    KeysTitle = 325,
    AboutItem = 326,
    AboutText = 327,         // %s: the version
    SaveFailedReason = 328,  // %s: the file, %s: the system's reason
    MapTab = 329,
    ChartTab = 330,
    // The forecast fields of the settings window's TCV page.
    ForecastGroup = 331,
    ForecastCycleLabel = 332,
    ForecastAidsLabel = 333,
    EarlyAidsLabel = 334,
    ConeLabel = 335,
    ConeAidLabel = 336,
    SwathLabel = 337,
    // Agencies side by side: the scales' legend rows, the converted-winds
    // note, the job log's differences and the settings fields.
    WindsConverted = 340,  // %s: the averaging period in minutes
    CmaLegendDepression = 341,
    CmaLegendStorm = 342,
    CmaLegendSevereStorm = 343,
    CmaLegendTyphoon = 344,
    CmaLegendSevereTyphoon = 345,
    CmaLegendSuperTyphoon = 346,
    JmaLegendDepression = 347,
    JmaLegendStorm = 348,
    JmaLegendSevereStorm = 349,
    JmaLegendTyphoon = 350,
    JmaLegendVeryStrongTyphoon = 351,
    JmaLegendViolentTyphoon = 352,
    AgenciesCompared = 353,    // %s: the agencies, %s: the storm's first time
    PositionDifference = 354,  // %s: km, %s: the time, %s, %s: the two agencies
    WindDifference = 355,      // %s: kt, %s: the time, %s, %s: the two agencies
    PressureDifference = 356,  // %s: hPa, %s: the time, %s, %s: the two agencies
    ExpectWord = 357,          // %s: the words
    AgencyScaleLabel = 358,
    AgencyWindsLabel = 359,
    // The file chooser's path field and Home place.
    ShortcutHome = 360,
    ChooserPathLabel = 361,
    ChooserNoSuchFolder = 362,  // %s: the path typed
    // The file list's folder rows, and a map older than the list of files.
    FolderType = 363,
    FolderTrackFiles = 364,  // %d: the track files in the folder
    MapOutOfDate = 365,
    // A drawing error explained: %s value, %s key, %s settings file, %s what it accepts.
    InvalidSettingValue = 366,
    // The settings window's agency fields, below both pages.
    AgenciesGroup = 370,
    AgencyListLabel = 371,
    MarkDifferencesLabel = 372,
    TenFromOneMinuteLabel = 373,
    TenFromTwoMinuteLabel = 374,
    ScaleSaffirSimpson = 375,
    ScaleCma = 376,
    ScaleJma = 377,
    WindsAsGiven = 378,
    WindsOneMinute = 379,
    WindsTwoMinute = 380,
    WindsTenMinute = 381,
    // The region window, and a Regional job without a fix in its region.
    RegionNoFix = 382,  // %s: the region as stored
    RegionNorthLabel = 383,
    RegionWestLabel = 384,
    RegionLatExtentLabel = 385,
    RegionLonExtentLabel = 386,
    RegionPresetLabel = 387,
    RegionNorthAtlantic = 388,
    RegionNortheastPacific = 389,
    RegionNorthwestPacific = 390,
    RegionNorthIndian = 391,
    RegionSouthIndian = 392,
    RegionAustralian = 393,
    RegionSouthPacific = 394,
    RegionDragHint = 395,
    RegionTooWide = 396,  // %s: the longitude extent
    SettingKeyTip = 397,  // %s: the key, %s: its section of Settings.ini
    RecentFilesMenu = 398,
    // A vector map whose land cannot be drawn as paths: %s the file, %s why.
    VectorWorldNotRead = 400,
    // The settings window's switch for land drawn as paths, below both pages.
    VectorMapsGroup = 401,
    VectorLandLabel = 402,
};

}  // namespace tcmap
