// The table of the main window's user-visible texts by text id, in Russian, English and German.
#include <array>

#include "CodePage.h"
#include "app/Qelunit.h"

namespace {

// One text id in the three interface languages. The source keeps them in UTF-8 to stay
// readable; the program works on code-page bytes, so they are converted once at first use.
struct UiTextSource {
  const char* russian;
  const char* english;
  const char* german;
};

constexpr unsigned LastUiTextId = 109;
constexpr int ReadingSpeedLabelId = 42;

// Text 42 while the speed option is typed as a frame period instead of in Hz.
constexpr UiTextSource FramePeriodLabelSource = {"мсек в 'большом' временном интервале",
                                                 "msec in 'large' time interval",
                                                 "millisekunden in einem groben zeitintervall"};

// The first line of a report after a parse that broke down (no text id of its own).
constexpr UiTextSource PartialReadSource = {
    "Внимание: LOG-файл прочитан не полностью, данные ниже неполны.",
    "Attention: the LOG-file was read only in part, the data below are incomplete.",
    "Achtung: die LOG-datei wurde nur teilweise gelesen, die Daten unten sind unvollstandig."};

// Blanks at either end belong to the texts: the report, status bar and group-box layouts
// are built from them, so every language carries the same ones.
constexpr std::array<UiTextSource, LastUiTextId + 1> Sources = {{
    /* 0 */ {"Текстовый LOG-файл *.qel;*.txt|*.qel;*.txt|Все файлы *.*|*.*",
             "Text LOG-file *.qel;*.txt|*.qel;*.txt|All files *.*|*.*",
             "Text LOG-datei *.qel;*.txt|*.qel;*.txt|All files *.*|*.*"},
    /* 1 */ {"В буфере обмена:  [ ", "In clipboard:  [ ", "In der Zwischenablage:  [ "},
    /* 2 */ {",   ФАЙЛ ОТСУТСТВУЕТ!!!", ",   FILE NOT PRESENT!!!", ",   DATEI NICHT VORHANDEN!!!"},
    /* 3 */ {"Параметры", "Options", "Parameter"},
    /* 4 */ {"Текст", "Text", "Text"},
    /* 5 */ {"График", "Chart", "Diagramm"},
    /* 6 */ {"Маска", "Mask", "Maske"},
    /* 7 */ {"Общие", "Common", "Allgemein"},
    /* 8 */ {"Помощь", "Help", "Hilfe"},
    /* 9 */ {"Выбрать LOG-файл", "Select LOG-file", "Wahlen sie LOG-datei"},
    /* 10 */ {"Предыдущий LOG-файл", "Previous LOG-file", "Vorig LOG-datei"},
    /* 11 */ {"Следующий LOG-файл", "Next LOG-file", "Nachste LOG-datei"},
    /* 12 */ {"Вставить", "Paste", "Einfugen"},
    /* 13 */ {"Что", "What", "Was"},
    /* 14 */ {"Найти", "Found", "Suchen"},
    /* 15 */ {"вверх", "up", "nach oben"},
    /* 16 */ {"вниз", "down", "nach unten"},
    /* 17 */ {"Очистить текст поиска", "Clear text in found", "Suchtext loschen"},
    /* 18 */ {"В начало текста", "Go to start of text", "Zum Anfang des Textes"},
    /* 19 */ {"В конец текста", "Go to end of text", "Zum Ende des Textes"},
    /* 20 */ {"Имя", "Name", "Name"},
    /* 21 */ {"Настройки", "Options", "Einstellungen"},
    /* 22 */ {"Параметры", "Parametrs", "Parameter"},
    /* 23 */ {"Все параметры", "All parametrs", "Alle Parameter"},
    /* 24 */ {"Добавить", "Add", "Hinzufugen"},
    /* 25 */ {"Переименовать", "Rename", "Umbenennen"},
    /* 26 */ {"Удалить", "Delete", "Loschen"},
    /* 27 */ {"информация под курсором", "information under cursor", "Information unter dem Cursor"},
    /* 28 */ {"толщина линии", "line thickness", "Linienstarke"},
    /* 29 */ {"граница оси Y, нижняя", "boundary Y-axis, bottom", "Grenze Y-Achse, unten"},
    /* 30 */ {"граница оси Y, верхняя", "boundary Y-axis, top", "Grenze Y-Achse, oben"},
    /* 31 */
    {"Двойным щелчком параметр переносится в список маски", "By double click Parametr moved to Mask list",
     "Mit Doppelklick wird der Parameter in die Maskenliste verschoben"},
    /* 32 */
    {"Двойным щелчком статус переносится в список маски", "By double click Status moved to Mask list",
     "Mit Doppelklick wird der Status in die Maskenliste verschoben"},
    /* 33 */ {"Показать все параметры", "Show all parametrs", "Alle Parameter anzeigen"},
    /* 34 */ {"Скрыть неиспользуемые параметры", "Hide not-used parametrs", "Nicht benutzte Parameter ausblenden"},
    /* 35 */ {"Скрыть параметр", "Hide parametr", "Parameter ausblenden"},
    /* 36 */ {"Отобразить параметр", "Show parametr", "Show parameter"},
    /* 37 */ {"Переименовать параметр", "Rename parametr", "Parameter umbenennen"},
    /* 38 */ {"Удалить параметр", "Delete parametr", "Parameter loschen"},
    /* 39 */ {"Добавить статус", "Add status", "Status hinzufugen"},
    /* 40 */ {"Удалить статус", "Delete status", "Status loschen"},
    /* 41 */
    {"мсек в 'малом' временном интервале", "msec in 'small' time interval",
     "millisekunden in einem kleinen zeitintervall"},
    /* 42 */
    {"скорость чтения, Гц   ( 16...50 )", "reading speed, Hz   ( 16...50 )",
     "Lesegeschwindigkeit, Hz   ( 16...50 )"},
    /* 43 */ {"Гц", "Hz", "Hz"},
    /* 44 */
    {"временной интервал графика в секундах для клавиши F5", "time interval of chart in seconds for key F5",
     "Zeitintervall des Diagramms in Sekunden fur Taste F5"},
    /* 45 */
    {"временной интервал графика в секундах для клавиши F6", "time interval of chart in seconds for key F6",
     "Zeitintervall des Diagramms in Sekunden fur Taste F6"},
    /* 46 */
    {"временной интервал графика в секундах для клавиши F7", "time interval of chart in seconds for key F7",
     "Zeitintervall des Diagramms in Sekunden fur Taste F7"},
    /* 47 */
    {"временной интервал графика в секундах для клавиши F8", "time interval of chart in seconds for key F8",
     "Zeitintervall des Diagramms in Sekunden fur Taste F8"},
    /* 48 */
    {"смещение окна значений параметров от курсора по оси X",
     "offset from cursor on X-axis window with parametrs value",
     "Versatz des Fensters mit Parameterwerten vom Cursor auf der X-Achse"},
    /* 49 */
    {"смещение окна значений параметров от курсора по оси Y",
     "offset from cursor on Y-axis window with parametrs value",
     "Versatz des Fensters mit Parameterwerten vom Cursor auf der Y-Achse"},
    /* 50 */
    {"разрешить изменение масштаба по оси Y", "enable change scale on Y-axis",
     "Anderung des Massstabs der Y-Achse ermoglichen"},
    /* 51 */
    {"разрешить использование окна прогресса", "enable using progress window",
     "Benutzung des Fortschrittsfensters ermoglichen"},
    /* 52 */
    {"разрешить старый алгоритм поиска ошибок", "enable using old algoritm of found error",
     "Alten Algorithmus der Fehlersuche ermoglichen"},
    /* 53 */
    {"использовать многострочный режим отображения статусов", "use multiline mode for showing statuses",
     "Mehrzeilige Anzeige der Status benutzen"},
    /* 54 */ {"Очистить историю LOG-файлов", "Clear history of LOG-files", "Verlauf der LOG-dateien loschen"},
    /* 55 */
    {"Переименовать расширение старых LOG-файлов", "Rename extention for old LOG-files",
     "Erweiterung alter LOG-dateien umbenennen"},
    /* 56 */
    {"Переименовать параметры по словарю", "Rename parametrs by dictionary",
     "Parameter nach Worterbuch umbenennen"},
    /* 57 */ {"Имя параметра", "Parametr name", "Parametername"},
    /* 58 */ {"Множитель", "Factor", "Faktor"},
    /* 59 */ {"Смещение", "Offset", "Versatz"},
    /* 60 */ {"Цвет", "Color", "Farbe"},
    /* 61 */ {"График", "Chart", "Diagramm"},
    /* 62 */ {"Курсор", "Cursor", "Cursor"},
    /* 63 */ {"Русский", "English", "Deutsch"},
    /* 64 */ {"Параметр", "Parametr", "Parameter"},
    /* 65 */ {"Статус", "Status", "Status"},
    /* 66 */ {"", "", ""},
    /* 67 */ {"  Стиль графика параметров  ", "  Parametr chart style  ", "  Diagrammstil der Parameter  "},
    /* 68 */ {"  Стиль графика статусов  ", "  Status chart style  ", "  Diagrammstil der Status  "},
    /* 69 */ {"строка: ", "line: ", "Zeile: "},
    /* 70 */ {"   столбец: ", "   column: ", "   Spalte: "},
    /* 71 */ {"   смещение в тексте = ", "   shift in text = ", "   Versatz im Text = "},
    /* 72 */
    {"Новое имя (русское) уже есть у другого параметра. Изменение отменено.",
     "New name (rassian) present on other parametr. Change canceled.",
     "Neuer Name (russisch) ist bei einem anderen Parameter vorhanden. Anderung abgebrochen."},
    /* 73 */
    {"Новое имя (английское) уже есть у другого параметра. Изменение отменено.",
     "New name (english) present on other parametr. Change canceled.",
     "Neuer Name (englisch) ist bei einem anderen Parameter vorhanden. Anderung abgebrochen."},
    /* 74 */
    {"Новое имя (немецкое) уже есть у другого параметра. Изменение отменено.",
     "New name (deutch) present on other parametr. Change canceled.",
     "Neuer Name (deutsch) ist bei einem anderen Parameter vorhanden. Anderung abgebrochen."},
    /* 75 */ {"Статус", "Status", "Status"},
    /* 76 */ {"Имя", "Name", "Name"},
    /* 77 */
    {"В следующем диалоге выбирете папку. Для этой папки и всех, вложеных в неё папок, "
     "будет произведен поиск папок с именем LOGs. В каждой найденной папке LOGs для "
     "текстовых файлов будет выполнена замена расширения с .txt на .qel",
     "In next dialog select folder. For this folder and all its subfolders, will search "
     "folders named LOGs. In each found folder LOGs for text files will replace expansion "
     "from .txt to .qel",
     "Im nachsten dialogfeld wahlen sie den ordner. Fur diesen ordner und alle "
     "verschachtelten ordner drin, sucht ordner mit dem namen 'LOGs'. In jedem ordner, fur "
     "textdateien erweiterung ersetzt werden durchgefuhrt mit .txt auf .qel]"},
    /* 78 */ {"Наберитесь терпения ...  :)", "Please wait ...  :)", "Bitte warten ...  :)"},
    /* 79 */
    {"             Нераспознанная строка, длина строки меньше 8 символов",
     "             Unrecognized line, line length is less than 8 characters",
     "             Unerkannte Zeile, Zeilenlange ist kleiner als 8 Zeichen"},
    /* 80 */
    {"                  Нераспознанная строка, неверный формат 8 символов",
     "                  Unrecognized line, invalid format 8 characters",
     "                  Unerkannte Zeile, ungultiges Format der 8 Zeichen"},
    /* 81 */
    {"        Нераспознанная строка, длина меньше 4 после 8 символов",
     "        Unrecognized line, string length less than 4 after 8 characters",
     "        Unerkannte Zeile, Lange kleiner als 4 nach 8 Zeichen"},
    /* 82 */
    {"         Нераспознанная строка, ошибка распознавания значения параметра",
     "         Unrecognized line, recognition of the value of the parameter error",
     "         Unerkannte Zeile, Fehler beim Erkennen des Parameterwertes"},
    /* 83 */
    {"                          Нераспознанная строка, прочее",
     "                          Unrecognized line, other", "                          Unerkannte Zeile, sonstige"},
    /* 84 */
    {"                          Данные LOG-файла в структуре LData",
     "                          Data LOG-file of structure LData",
     "                          Daten der LOG-datei in Struktur LData"},
    /* 85 */
    {"Индекс : [ (смещение в тексте)  (ключ 8 символов)  (время в мсек) ]   "
     "(тип параметра) (значение)     (описание)",
     "Index : [ (offset in the text)  (key 8 characters)  (time in msec) ]   "
     "(parameter type) (value)     (description)",
     "Index : [ (Versatz im Text)  (Schlussel 8 Zeichen)  (Zeit in msek) ]   "
     "(Parametertyp) (Wert)     (Beschreibung)"},
    /* 86 */ {"анализ ", "analysis ", "analyse "},
    /* 87 */ {"Файл с текстом *.txt|*.txt", "Text file *.txt|*.txt", "Text datei *.txt|*.txt"},
    /* 88 */ {"Файл с изображением *.jpg|*.jpg", "Image file *.jpg|*.jpg", "Bild datei *.jpg|*.jpg"},
    /* 89 */ {"Чтение LOG-файла", "Reading LOG-file", "Lese LOG-datei"},
    /* 90 */ {"Анализ LOG-файла", "Analising LOG-file", "Analysiere LOG-datei"},
    /* 91 */ {"индекс ", "index ", "Index "},
    /* 92 */ {"Удаление ошибок!", "Erase Errors", "Lösche Fehler!"},
    /* 93 */ {"значение отсутствует!!!", "value absent!!!", "Wert fehlt!!!"},
    /* 94 */
    {"Установка связей [Следующий <-> Предыдущий]", "Set link [Next <-> Previous]",
     "Verknupfung setzen [Nachster <-> Voriger]"},
    /* 95 */
    {"Инициализация параметров графика", "Initialize chart parametrs", "Diagrammparameter initialisieren"},
    /* 96 */
    {"Обновление списка всех параметров", "Update list with all parametrs", "Liste aller Parameter aktualisieren"},
    /* 97 */ {"Подбираем маску QEL или PMS или LH", "Found mask QEL or PMS or LH", "Finden masken QEL / PMS / LH"},
    /* 98 */ {"Подготовка и отображение графика", "Prepare chart and show", "Diagramm vorbereiten und anzeigen"},
    /* 99 */ {"", "", ""},
    /* 100 */ {"активен", "active", "aktiv"},
    /* 101 */ {"Ошибок нет :)", "No errors :)", "Keine Fehler :)"},
    /* 102 */
    {"Ошибки не удалось прочитать!", "Errors could not be read!", "Fehler konnten nicht gelesen werden!"},
    /* 103 */ {" сек.", " sec.", " Sek."},
    /* 104 */ {"Командная строка: [", "Command line: [", "Befehlszeile: ["},
    /* 105 */ {"Прервать", "Break", "Abbrechen"},
    /* 106 */ {"Имя (русское)", "Name (russian)", "Name (russisch)"},
    /* 107 */ {"Имя (английское)", "Name (english)", "Name (englisch)"},
    /* 108 */ {"Имя (немецкое)", "Name (deutsch)", "Name (deutsch)"},
    /* 109 */ {"Применить", "Ok", "Ok"},
}};

// A short initialiser list would leave null entries behind; refuse to compile instead.
constexpr bool AllEntriesSet()
{
  for (const UiTextSource& s : Sources)
    if (!s.russian || !s.english || !s.german)
      return false;
  return true;
}
static_assert(AllEntriesSet(), "every text id needs its three texts");

struct UiTextTriple {
  AnsiString russian, english, german;

  const AnsiString& In(int language) const
  {
    if (language == 0)
      return russian;
    if (language == 1)
      return english;
    return german;
  }
};

UiTextTriple ToCodePages(const UiTextSource& s)
{
  return {Utf8ToAnsi(s.russian, 1251), s.english, Utf8ToAnsi(s.german, 1252)};
}

struct UiTextTable {
  std::array<UiTextTriple, LastUiTextId + 1> texts;
  UiTextTriple framePeriodLabel;
  UiTextTriple partialRead;
};

const UiTextTable& Table()
{
  static const UiTextTable Built = [] {
    UiTextTable t;
    for (unsigned id = 0; id <= LastUiTextId; ++id)
      t.texts[id] = ToCodePages(Sources[id]);
    t.framePeriodLabel = ToCodePages(FramePeriodLabelSource);
    t.partialRead = ToCodePages(PartialReadSource);
    return t;
  }();
  return Built;
}

}  // namespace

AnsiString& BQELunit::GetUiText(int id, AnsiString& out)
{
  // Unsigned, so a negative id falls outside the table like one above it.
  if (static_cast<unsigned>(id) > LastUiTextId) {
    out.clear();
    return out;
  }
  const UiTextTable& table = Table();
  const UiTextTriple& texts = id == ReadingSpeedLabelId && !SpeedInHz ? table.framePeriodLabel : table.texts[id];
  out = texts.In(Language);
  return out;
}

AnsiString& BQELunit::GetPartialReadText(AnsiString& out)
{
  out = Table().partialRead.In(Language);
  return out;
}
