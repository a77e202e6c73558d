#pragma once

#include <QImage>
#include <QPixmap>
#include <QMainWindow>
#include <QString>
#include <QStringList>
#include <array>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "engine/chr.h"
#include "jobs/export.h"
#include "jobs/file_uses.h"
#include "jobs/scenes.h"
#include "params/options.h"
#include "ui/dialogs.h"

class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QMenu;
class QPushButton;
class QRadioButton;
class QScrollArea;
class QSlider;
class QSpinBox;
class QStatusBar;
class QTabWidget;
class QTextEdit;
class QTimer;
class QDragEnterEvent;
class QDragMoveEvent;
class QDropEvent;

namespace mipofc {

class TAboutBox;
class TFontButton;
class TViewer;
struct TViewSource;
class TShape;
class TSwatch;

/// The main window: every option control, the text page, the two previews and the menu.
/// The controls are the truth; the rules over them live in params/ and run on a copy.
class TForm1 : public QMainWindow {
  Q_OBJECT
 public:
  /// dialogs answers every dialog and message box; null means the platform's own.
  explicit TForm1(std::unique_ptr<TDialogs> dialogs = nullptr, QWidget* parent = nullptr);
  ~TForm1() override;

  // Window state.
  QString TitleText;          ///< the window title
  QString ExeFolder;          ///< folder of the executable, with a trailing separator
  QString DefaultParamFile;   ///< ExeFolder + "myDEF.ini"
  QString CurrentParamFile;   ///< the parameter file Save and Load use
  bool ParamFileNamed = false;  ///< a parameter file was opened or saved through a dialog
  QStringList EncodingOptionTexts;     ///< ComboBox2's five items as built
  QStringList DistributionOptionTexts;  ///< ComboBox3's two items as built
  int PosX = 0;               ///< drawing offset of the character in its cell, pixels
  int PosY = 0;
  TPalette PreviewPalette{};  ///< display colours of NES colour indexes 0..3, 0x00BBGGRR
  bool OptionsChanged = true;  ///< something changed since the last preview refresh
  TFont BfFontFont;           ///< the font in use: BfFont's font, what the engine draws with
  TFont FontDialog1Font;      ///< the font dialog's copy

  // Operations other parts of the program use.
  /// Rebuilds the encoding and distribution lists and scan buttons for the selected cell size,
  /// then applies the encoding rule to the newly selected first encoding item.
  void ApplySizeRules();
  /// The rule of the selected encoding item: shows M for mode 1, locks colours 0/1 for modes 3 and 4.
  void ApplyEncodingRule();
  /// Takes FontDialog1Font as the font in use; the size slider follows (clamped).
  void ApplyChosenFont();
  /// Fills s from the controls; changes nothing.
  void GatherSettings(TChrSettings& s);
  TChrSettings GatherSettings();
  /// PreviewPalette := the colours of color0..color3.
  void ReadPalette();
  /// Redraws Image1 and Image2 now. Throws TFontError when the font cannot be had.
  void RefreshPreviews();
  /// Fills the whole 128 x 128 target with Shape1's colour.
  void FillPreviewBackground(TBitmap& target) const;
  /// The memo's characters in order with every line break removed.
  std::u16string JoinedText() const;
  /// The option values the controls hold now.
  TOptionValues ReadOptions() const;
  /// Sets the controls from v; sliders, spin fields and radio buttons run their handlers when
  /// their value changes, lists run nothing.
  void WriteOptions(const TOptionValues& v);
  /// The pictures last drawn into Image1 and Image2, 128 x 128.
  const QImage& Image1Picture() const { return image1Picture_; }
  const QImage& Image2Picture() const { return image2Picture_; }
  /// Shows a failure in a message box titled with the application title.
  void ReportError(const QString& text);
  /// The application's one error handler: runs a command and shows any exception that escapes
  /// it through ReportError, so that the window goes on working.
  void RunCommand(const std::function<void()>& body);

  /// Takes folder as the executable's folder: ExeFolder, DefaultParamFile and, while no file
  /// was named, CurrentParamFile follow it.
  void UseExeFolder(const QString& folder);
  /// myDEF.ini in exeFolder when that folder is writable, else in the user's configuration
  /// folder (mipofc/ under XDG_CONFIG_HOME, created when missing).
  static QString DefaultParamFileFor(const QString& exeFolder);
  /// Writes the options into CurrentParamFile and shows its name in the caption. False, after a
  /// message, when its folder is missing; throws TIniWriteError or TFileError on a write failure.
  bool SaveParamFile();
  /// Reads CurrentParamFile into the controls (the encoding rule of the loaded mode included)
  /// and shows its name in the caption. False, after a message, when its folder is missing.
  bool LoadParamFile();
  /// Saves the current parameter file once one was named; false keeps the window open (the
  /// save failed with a write error).
  bool FormCloseQuery();

  // Controls, named as their Qt objectName.
  QTabWidget* PageControl1 = nullptr;
  QTabWidget* PageControl2 = nullptr;
  QWidget* TabSheet1 = nullptr;  // 通用
  QWidget* TabSheet2 = nullptr;  // 高级
  QWidget* TabSheet3 = nullptr;  // 预览
  QWidget* TabSheet4 = nullptr;  // 文本
  QGroupBox* GroupBox1 = nullptr;
  QGroupBox* GroupBox2 = nullptr;
  QGroupBox* GroupBox3 = nullptr;
  QGroupBox* GroupBox4 = nullptr;
  QGroupBox* GroupBox5 = nullptr;
  QGroupBox* GroupBox6 = nullptr;
  QGroupBox* GroupBox7 = nullptr;
  QGroupBox* GroupBox8 = nullptr;
  QComboBox* ComboBox1 = nullptr;
  QComboBox* ComboBox2 = nullptr;
  QComboBox* ComboBox3 = nullptr;
  QComboBox* ComboBox4 = nullptr;
  TFontButton* BfFont = nullptr;
  QLabel* Label1 = nullptr;
  QLabel* Label2 = nullptr;
  QLabel* Label3 = nullptr;
  QLabel* Label4 = nullptr;
  QLabel* Label5 = nullptr;
  QLabel* Label6 = nullptr;
  QLabel* Label7 = nullptr;
  QLabel* Label8 = nullptr;
  QLabel* Label9 = nullptr;
  QLabel* Label10 = nullptr;
  QLabel* Label11 = nullptr;
  QSlider* TBs = nullptr;
  QSlider* TBp = nullptr;
  QPushButton* Blu = nullptr;
  QPushButton* Bu = nullptr;
  QPushButton* Bru = nullptr;
  QPushButton* Bl = nullptr;
  QPushButton* Bc = nullptr;
  QPushButton* Br = nullptr;
  QPushButton* Bld = nullptr;
  QPushButton* Bd = nullptr;
  QPushButton* Brd = nullptr;
  QLabel* Lsite = nullptr;
  QSpinBox* Ebg = nullptr;
  QSpinBox* Ewm = nullptr;
  QSpinBox* Eout04 = nullptr;
  QPushButton* BautoColor = nullptr;
  QRadioButton* RWay01 = nullptr;
  QRadioButton* RWay02 = nullptr;
  QWidget* Panel1 = nullptr;
  TSwatch* color0 = nullptr;
  TSwatch* color1 = nullptr;
  TSwatch* color2 = nullptr;
  TSwatch* color3 = nullptr;
  QPushButton* BmyColor = nullptr;
  QCheckBox* CheckBox1 = nullptr;
  TShape* Shape1 = nullptr;
  QPushButton* Button1 = nullptr;
  QScrollArea* ScrollBox1 = nullptr;
  QScrollArea* ScrollBox2 = nullptr;
  QLabel* Image1 = nullptr;
  QLabel* Image2 = nullptr;
  QTextEdit* Memo1 = nullptr;
  QTimer* Timer1 = nullptr;
  QStatusBar* StatusBar = nullptr;
  QMenu* N1 = nullptr;
  QMenu* N8 = nullptr;
  QMenu* N14 = nullptr;
  QMenu* N15 = nullptr;
  QAction* N2 = nullptr;
  QAction* N3 = nullptr;
  QAction* N4 = nullptr;
  QAction* N5 = nullptr;
  QAction* N7 = nullptr;
  QAction* N6 = nullptr;
  QAction* N9 = nullptr;
  QAction* N10 = nullptr;
  QAction* CHR1 = nullptr;
  QAction* ASMS1 = nullptr;
  QAction* N16 = nullptr;
  // Distinct characters, code tables, more formats and ROMs.
  QAction* N11 = nullptr;    // 去除重复字(&U)
  QAction* N12 = nullptr;    // 字符统计(&S)...
  QAction* N13 = nullptr;    // 从码表载入(&B)...
  QAction* CA651 = nullptr;  // CA65(&A)
  QAction* CH1 = nullptr;    // C头文件(&H)
  QAction* PNG1 = nullptr;   // PNG(&P)
  QAction* TBL1 = nullptr;   // 码表(&T)...
  QAction* ROM1 = nullptr;   // 写入ROM(&R)...
  QAction* BDF1 = nullptr;   // BDF字体(&D)...
  QAction* GLY1 = nullptr;   // CHR-RAM字模(&G)...
  QAction* SCN1 = nullptr;   // 按场景分库(&S)...
  int CodeStart = 0;  ///< code of the text's first character in its table, 0..0xFFFFFF
  int CodeBytes = 0;  ///< bytes of every table code, 1..3; 0 = the fewest that hold every code
  TSceneValues SceneValues;  ///< "按场景分库": the scene dialog's settings, kept with the options
  /// The memo's text replaced in one edit of its document, so that Ctrl+Z brings back the text before.
  void ReplaceMemoText(const QString& text);
  /// What "字符统计(&S)..." says of the memo's text with the current settings.
  QString CharStatsText();
  TAboutBox* AboutBox = nullptr;  ///< made hidden at start-up (or on first use) and shown modally

  // The bank viewer, font files, dropped files and the export's progress.
  QMenu* N17 = nullptr;   // 查看(&V)
  QAction* N18 = nullptr;  // 字库浏览(&B)
  QMenu* N19 = nullptr;   // 字体(&Z)
  QAction* N20 = nullptr;  // 选择字体(&F)...
  QAction* N21 = nullptr;  // 字体文件(&L)...
  QAction* N22 = nullptr;  // 系统字体(&S)
  TViewer* Viewer = nullptr;  ///< the bank viewer, made on its first opening
  int ProgressDelayMs = 500;  ///< how long an export runs before its progress dialog shows
  /// The text, settings and colours the previews are drawn from, as they stand now.
  TViewSource ViewSource();
  /// Takes a font file as "字体文件(&L)..." does after its dialog: a collection asks for its
  /// face. Throws TFontError when the file holds no font; nothing changes then.
  void UseFontFile(const QString& path);
  /// Loads text files as one text, in order, as "加载...(&L)" loads one. Throws TFileError when
  /// one cannot be read; the memo is unchanged then.
  void LoadTextFiles(const QStringList& paths);
  /// True when none of outputs (role and local path) is another of them or a file the window
  /// reads (the text files loaded, the font file, the parameter file), but for the allowed
  /// pairs of roles; else a message names both and the file, and nothing may be written.
  bool OutputsFree(const std::vector<TFileUse>& outputs, const std::vector<std::pair<std::string, std::string>>& allowed = {});
  /// Takes dropped files: parameter files (.ini) open, font files are used, and the text files
  /// load as one text. Each failure is reported as its menu command reports it.
  void OpenFiles(const QStringList& paths);
  /// Takes a ROM as "写入ROM(&R)..." does after its open dialog: asks where in its CHR-ROM and
  /// where to save, then writes this text's banks into a copy. A ROM that cannot take them gets
  /// a message naming it and why; nothing is written then.
  void WriteIntoRom(const QString& romPath);
  /// The dialogs every window of the program asks through.
  TDialogs& Dialogs() const { return *dialogs_; }
  /// The name last chosen for an export ("" before the first) and its format.
  const QString& LastExportName() const { return lastExportName_; }
  TBankFormat LastExportFormat() const { return lastExportFormat_; }

 signals:
  /// Both previews were redrawn.
  void PreviewsRefreshed();

 public slots:
  void ComboBox1Change();
  void ComboBox2Change();
  void ComboBox3Change();
  void ComboBox4Change();
  void BfFontClick();
  void TBsChange();
  void TBpChange();
  void BluClick();
  void BuClick();
  void BruClick();
  void BlClick();
  void BrClick();
  void BldClick();
  void BdClick();
  void BrdClick();
  void BautoColorClick();
  void EbgChange();
  void EwmChange();
  void Eout04Change();
  void RWay01Click();
  void RWay02Click();
  void CheckBox1Click();
  void color0Click();
  void color1Click();
  void color2Click();
  void color3Click();
  void Shape1MouseUp();
  void BmyColorClick();
  void Memo1Change();
  void Timer1Timer();
  void Button1Click();
  // Parameter files, text, export and About.
  void N2Click();
  void N3Click();
  void N4Click();
  void N5Click();
  void N6Click();
  void N9Click();
  void N10Click();
  void CHR1Click();
  void ASMS1Click();
  void N16Click();
  void N11Click();
  void N12Click();
  void N13Click();
  void CA651Click();
  void CH1Click();
  void PNG1Click();
  void TBL1Click();
  void ROM1Click();
  void BDF1Click();
  void GLY1Click();
  void SCN1Click();
  /// How the scene settings cut the text; nullopt for marker lines without a marker.
  std::optional<TSceneSplit> SceneSplit() const;
  /// 字符统计's plan line: scenes, fixed and switched banks for the scene settings.
  QString ScenePlanText();
  void N18Click();
  void N20Click();
  void N21Click();
  void N22Click();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildGeneralPage();
  void BuildAdvancedPage();
  void BuildPreviewPage();
  void BuildTextPage();
  void BuildMenu();
  void FormCreate();
  void Nudge(int dx, int dy);
  void ChooseSwatchColour(TSwatch* swatch);
  void ShowFontCaption();
  void ShowPicture(QLabel* image, const QImage& picture);
  void SetFlag() { OptionsChanged = true; }
  void ExportBanks(TBankFormat format);
  std::optional<QString> AskParamFile(bool saving);
  void SwitchParamFile(const QString& path, bool (TForm1::*action)());
  void ShowParamCaption();
  void BuildViewMenu();
  void BuildFontMenu();
  void BuildTextItems();
  void BuildOutputItems();
  /// The memo's text with its line breaks, named command in a failure; TTextError at a
  /// character outside the plane.
  std::u16string CheckedScript(const char* command) const;
  /// CheckedScript without its line breaks.
  std::u16string CheckedText(const char* command) const;
  void AcceptDroppedFiles();
  QString FontCaption(QString& toolTip) const;
  void KeepUsableFontFile(TOptionValues& v);
  /// The control of a long job run on this thread: its progress opens the progress dialog into
  /// progress once the job has run ProgressDelayMs, and 取消 sets cancelled, which stops the job.
  TJobControl DelayedProgress(std::unique_ptr<TProgress>& progress, std::atomic<bool>& cancelled);
  TExportResult ExportWithProgress(const std::string& chosenName, TBankFormat format, const TChrSettings& settings,
                                   std::u16string_view text);

  std::unique_ptr<TDialogs> dialogs_;
  QImage image1Picture_;
  QImage image2Picture_;
  bool followsScreen_ = false;
  // Each export dialog offers the name chosen in its last use, one per format.
  std::array<QString, 5> lastExportNames_;
  QString lastTableName_;
  QString lastRomName_;
  // "CHR-RAM字模": the dialog's last choice and the name last saved under.
  TGlyphChoice lastGlyphs_;
  QString lastGlyphName_;
  QString lastSceneName_;  // the bank name "按场景分库" saved under last
  QString lastExportName_;
  QString lastBdfName_;  // the BDF font saved last, where its save dialog starts
  QStringList textFiles_;  // the text files the memo was last loaded from
  QString lastExportFolder_;  // folder of the last file any export wrote
  QString lastTextFile_;      // the text file loaded last
  /// Where an export's save dialog starts: the folder of the last export, else of the text
  /// file, else the home folder; with the name last chosen for this kind when there is one.
  QString ExportStart(const QString& lastOfKind) const;
  /// Takes chosen as the last export's file.
  void KeepExportFolder(const QString& chosen);
  TBankFormat lastExportFormat_ = TBankFormat::Chr;
};

/// A 0x00BBGGRR bitmap as a Qt image of the same size.
QImage ToQImage(const TBitmap& bitmap);
/// The picture as a pixmap of 128 x 128 device-independent pixels at the given device pixel
/// ratio, scaled by nearest neighbour so that pixels stay crisp.
QPixmap CrispPixmap(const QImage& picture, qreal ratio);
/// A Qt font of the same face, size and style (size in points).
QFont ToQFont(const TFont& font);
/// base with the face, size and style of a Qt font; file, character set and colour stay.
TFont FromQFont(const QFont& qfont, TFont base);

}  // namespace mipofc
