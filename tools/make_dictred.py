#!/usr/bin/env python3
"""Writes resources/dictred.txt, the built-in parameter-name dictionary.

The file is 8-bit text, one field per line, CR LF after every line, entries as triplets
Russian (Windows-1251), English, German (Windows-1252). The program relies on some entries
sitting at fixed positions (PINNED below); the rest fill the positions in between in the
order given here. Usage: make_dictred.py [output file]
"""
import sys
from pathlib import Path

ENTRY_COUNT = 502
SAME_AS_RU = None  # the German field holds the Russian text (in Windows-1251 bytes)

PINNED = {
    3: ("Удаление ошибок!", "Erase Errors", "Lösche Fehler!"),
    58: ("Температура ОЖ", "Coolant", "Kühlmitteltemperatur [°C]"),
    59: ("Обороты", "RPM", "Motordrehzahl [1/min]"),
    61: ("Время впрыска", "Inj time, ms", "Einspritzzeit, [ms]"),
    62: ("Угол ДЗ", "Throttle angle", "Drosselklappenwinkel"),
    63: ("ДМРВ, кг/ч", "Air Mass", "Luftmasse [Kg/h]"),
    67: ("УОЗ", "Ignition angle", "Zündwinkel [°]"),
    68: ("Температура воздуха", "Air", "Ansaugluft-Temperatur [°C]"),
    69: ("Скорость автомобиля", "Vehicle speed", "Vechicle speed (rear)"),
    70: ("Нагрузка мотора", "Engine load", "Motorlast  [%](?)"),
    228: ("Потенциометр положения упора дросселя", "Throttle response voltage", "DK-Antw. [V]"),
    244: ("Ожидание пуска", "Waiting engine start", "Warte auf Motorstart"),
    254: ("Ожидание пуска", "Waiting start engine", SAME_AS_RU),
    360: ("Удаление ошибок!", "Erase errors!", SAME_AS_RU),
    416: ("O2 sensor control %", "O2 sensor control %", "Lambdaregelung [%]"),
    417: ("O2 Sensor (mV)", "O2 Sensor (mV)", "O2-Sondenspannung [mV]"),
    422: ("Скорость автомобиля", "Vechicle speed (rear)", SAME_AS_RU),
    495: ("Температура ОЖ 1", "Coolant 1", "Kühlmitteltemperatur 1 [°C]"),
    496: ("Температура ОЖ 2", "Coolant 2", "Kühlmitteltemperatur 2 [°C]"),
}

# Keys the program deliberately keeps twice; any other repeated field is a mistake here.
DUPLICATE_GROUPS = [{3, 360}, {69, 422}, {244, 254}]

# A default parameter that must stay untranslated.
ABSENT = ["MAP, mbar"]

MESSAGES = [
    ("Связь с ЭБУ установлена", "Connection with ECU established", "Verbindung mit Steuergerät hergestellt"),
    ("Нет связи с ЭБУ", "No connection with ECU", "Keine Verbindung mit Steuergerät"),
    ("Чтение ошибок", "Reading errors", "Fehler werden gelesen"),
    ("Ошибки удалены", "Errors erased", "Fehler gelöscht"),
    ("Ошибок нет", "No errors", "Keine Fehler"),
    ("Ошибок: %d", "Errors: %d", "Fehler: %d"),
    ("Ошибка %d из %d", "Error %d of %d", "Fehler %d von %d"),
    ("Код ошибки: %s", "Error code: %s", "Fehlercode: %s"),
    ("Текущие ошибки", "Current errors", "Aktuelle Fehler"),
    ("Сохраненные ошибки", "Stored errors", "Gespeicherte Fehler"),
    ("Спорадическая ошибка", "Sporadic error", "Sporadischer Fehler"),
    ("Постоянная ошибка", "Permanent error", "Ständiger Fehler"),
    ("Инициализация адаптера", "Adapter initialisation", "Adapter wird initialisiert"),
    ("Адаптер не найден", "Adapter not found", "Adapter nicht gefunden"),
    ("Адаптер подключен к порту %s", "Adapter connected to port %s", "Adapter an Anschluss %s angeschlossen"),
    ("Скорость обмена: %d бод", "Baud rate: %d", "Baudrate: %d"),
    ("Ошибка открытия порта %s", "Cannot open port %s", "Anschluss %s kann nicht geöffnet werden"),
    ("Порт занят другой программой", "Port is used by another program", "Anschluss wird von einem anderen Programm benutzt"),
    ("Тайм-аут ответа ЭБУ", "ECU response timeout", "Zeitüberschreitung der Steuergeräteantwort"),
    ("Неверная контрольная сумма", "Wrong checksum", "Falsche Prüfsumme"),
    ("Повтор запроса (%d)", "Request repeated (%d)", "Anfrage wiederholt (%d)"),
    ("Идентификация ЭБУ", "ECU identification", "Steuergeräte-Identifikation"),
    ("Номер ЭБУ: %s", "ECU number: %s", "Steuergerätenummer: %s"),
    ("Версия программы ЭБУ: %s", "ECU software version: %s", "Softwarestand des Steuergeräts: %s"),
    ("Код двигателя: %s", "Engine code: %s", "Motorkennbuchstaben: %s"),
    ("Идентификационный номер: %s", "VIN: %s", "FIN: %s"),
    ("Запись LOG-файла начата", "LOG-file recording started", "Aufzeichnung der LOG-datei gestartet"),
    ("Запись LOG-файла остановлена", "LOG-file recording stopped", "Aufzeichnung der LOG-datei beendet"),
    ("Файл: %s", "File: %s", "Datei: %s"),
    ("Записано строк: %d", "Lines written: %d", "Geschriebene Zeilen: %d"),
    ("Время записи: %d с", "Recording time: %d s", "Aufzeichnungsdauer: %d s"),
    ("Частота опроса: %d Гц", "Polling rate: %d Hz", "Abfragerate: %d Hz"),
    ("Выберите параметры для записи", "Select parameters to record", "Parameter für die Aufzeichnung wählen"),
    ("Слишком много параметров", "Too many parameters", "Zu viele Parameter"),
    ("Включите зажигание", "Switch ignition on", "Zündung einschalten"),
    ("Выключите зажигание", "Switch ignition off", "Zündung ausschalten"),
    ("Запустите двигатель", "Start the engine", "Motor starten"),
    ("Заглушите двигатель", "Stop the engine", "Motor abstellen"),
    ("Двигатель работает", "Engine running", "Motor läuft"),
    ("Двигатель остановлен", "Engine stopped", "Motor steht"),
    ("Низкое напряжение аккумулятора", "Low battery voltage", "Niedrige Batteriespannung"),
    ("Тест исполнительных механизмов", "Actuator test", "Stellglieddiagnose"),
    ("Тест завершен", "Test finished", "Test beendet"),
    ("Тест прерван", "Test aborted", "Test abgebrochen"),
    ("Сброс адаптаций", "Reset adaptations", "Adaptionen zurücksetzen"),
    ("Адаптации сброшены", "Adaptations reset", "Adaptionen zurückgesetzt"),
    ("Обучение дроссельной заслонки", "Throttle learning", "Drosselklappen-Grundeinstellung"),
    ("Ждите...", "Please wait...", "Bitte warten..."),
    ("Готово", "Done", "Fertig"),
    ("Отмена", "Cancel", "Abbrechen"),
    ("Повторить", "Retry", "Wiederholen"),
    ("Блок управления не отвечает", "Control unit does not respond", "Steuergerät antwortet nicht"),
    ("Протокол: %s", "Protocol: %s", "Protokoll: %s"),
    ("Нет данных", "No data", "Keine Daten"),
    ("Значение вне диапазона", "Value out of range", "Wert außerhalb des Bereichs"),
    ("Канал %d", "Channel %d", "Kanal %d"),
    ("Кадр %d", "Frame %d", "Rahmen %d"),
]

# Those between the pinned main parameters (58 to 70) come first.
PARAMETERS = [
    ("Напряжение бортсети", "Battery voltage", "Batteriespannung [V]"),
    ("Регулятор ХХ", "Idle air control", "Leerlaufsteller [%]"),
    ("Желаемые обороты ХХ", "Desired idle speed", "Leerlauf-Solldrehzahl [1/min]"),
    ("Коэффициент коррекции по ДК", "Lambda control factor", "Lambda-Regelfaktor"),
    ("Обороты холостого хода", "Idle speed", "Leerlaufdrehzahl [1/min]"),
    ("Положение дроссельной заслонки", "Throttle position", "Drosselklappenstellung [%]"),
    ("Напряжение ДПДЗ", "Throttle sensor voltage", "DK-Poti-Spannung [V]"),
    ("Напряжение ДМРВ", "Air mass sensor voltage", "LMM-Spannung [V]"),
    ("Массовый расход воздуха", "Mass air flow, g/s", "Luftmassenstrom [g/s]"),
    ("Цикловое наполнение", "Cylinder air charge", "Zylinderfüllung [mg/Hub]"),
    ("Абсолютное давление во впускном коллекторе", "Manifold absolute pressure", "Saugrohrdruck [hPa]"),
    ("Атмосферное давление", "Barometric pressure", "Umgebungsdruck [hPa]"),
    ("Температура масла", "Oil temperature", "Öltemperatur [°C]"),
    ("Давление масла", "Oil pressure", "Öldruck [bar]"),
    ("Уровень масла", "Oil level", "Ölstand [mm]"),
    ("Температура топлива", "Fuel temperature", "Kraftstofftemperatur [°C]"),
    ("Температура выхлопных газов", "Exhaust gas temperature", "Abgastemperatur [°C]"),
    ("Температура нейтрализатора", "Catalyst temperature", "Katalysatortemperatur [°C]"),
    ("Температура наружного воздуха", "Ambient temperature", "Außentemperatur [°C]"),
    ("Температура на выходе радиатора", "Radiator outlet temperature", "Kühleraustrittstemperatur [°C]"),
    ("Температура во впускном коллекторе", "Intake manifold temperature", "Saugrohrtemperatur [°C]"),
    ("Напряжение ДТОЖ", "Coolant sensor voltage", "Kühlmittelfühler-Spannung [V]"),
    ("Напряжение ДТВ", "Intake air sensor voltage", "Ansaugluftfühler-Spannung [V]"),
    ("Напряжение ДК", "Oxygen sensor voltage", "Lambdasondenspannung [V]"),
    ("Напряжение ДК 2", "Oxygen sensor 2 voltage", "Lambdasondenspannung 2 [V]"),
    ("Лямбда", "Lambda", "Lambdawert"),
    ("Желаемая лямбда", "Desired lambda", "Lambda-Sollwert"),
    ("Коэффициент коррекции времени впрыска", "Injection time correction factor", "Einspritzzeit-Korrekturfaktor"),
    ("Кратковременная коррекция топливоподачи", "Short term fuel trim", "Kurzzeit-Gemischkorrektur [%]"),
    ("Долговременная коррекция топливоподачи", "Long term fuel trim", "Langzeit-Gemischkorrektur [%]"),
    ("Аддитивная составляющая коррекции", "Additive fuel trim", "Gemischadaption additiv [ms]"),
    ("Мультипликативная составляющая коррекции", "Multiplicative fuel trim", "Gemischadaption multiplikativ [%]"),
    ("Адаптация ХХ", "Idle adaptation", "Leerlaufadaption [%]"),
    ("Адаптация дроссельной заслонки", "Throttle adaptation value", "Drosselklappen-Adaptionswert"),
    ("Часовой расход топлива", "Fuel consumption, l/h", "Kraftstoffverbrauch [l/h]"),
    ("Путевой расход топлива", "Fuel consumption, l/100km", "Kraftstoffverbrauch [l/100km]"),
    ("Базовое время впрыска", "Base injection time", "Basis-Einspritzzeit [ms]"),
    ("Эффективное время впрыска", "Effective injection time", "Effektive Einspritzzeit [ms]"),
    ("Фаза впрыска", "Injection phase", "Einspritzbeginn [°KW]"),
    ("Давление топлива", "Fuel pressure", "Kraftstoffdruck [bar]"),
    ("Желаемое давление топлива", "Desired fuel pressure", "Kraftstoffdruck-Sollwert [bar]"),
    ("Давление в топливной рампе", "Fuel rail pressure", "Raildruck [bar]"),
    ("Уровень топлива", "Fuel level", "Tankfüllstand [l]"),
    ("Время накопления", "Dwell time", "Schließzeit [ms]"),
    ("Базовый УОЗ", "Base ignition angle", "Grundzündwinkel [°]"),
    ("Желаемый УОЗ", "Desired ignition angle", "Sollzündwinkel [°]"),
    ("Коррекция УОЗ по детонации", "Knock retard", "Klopfregelung Spätverstellung [°]"),
    ("Коррекция УОЗ на ХХ", "Idle ignition correction", "Leerlauf-Zündwinkelkorrektur [°]"),
    ("Сигнал датчика детонации", "Knock sensor signal", "Klopfsensorsignal [V]"),
    ("Шум двигателя", "Engine noise level", "Motorgeräuschpegel [V]"),
    ("Положение коленвала", "Crankshaft position", "Kurbelwellenstellung [°KW]"),
    ("Положение распредвала", "Camshaft position", "Nockenwellenstellung [°KW]"),
    ("Фаза впускного распредвала", "Intake camshaft phase", "Einlassnockenwelle Verstellwinkel [°KW]"),
    ("Фаза выпускного распредвала", "Exhaust camshaft phase", "Auslassnockenwelle Verstellwinkel [°KW]"),
    ("Желаемая фаза впускного распредвала", "Desired intake camshaft phase", "Einlassnockenwelle Sollwinkel [°KW]"),
    ("Положение педали акселератора", "Accelerator pedal position", "Fahrpedalstellung [%]"),
    ("Напряжение датчика педали 1", "Pedal sensor 1 voltage", "Fahrpedalgeber 1 [V]"),
    ("Напряжение датчика педали 2", "Pedal sensor 2 voltage", "Fahrpedalgeber 2 [V]"),
    ("Напряжение ДПДЗ 2", "Throttle sensor 2 voltage", "DK-Poti 2 [V]"),
    ("Желаемое положение дроссельной заслонки", "Desired throttle position", "Drosselklappen-Sollstellung [%]"),
    ("Ток привода дроссельной заслонки", "Throttle motor current", "Drosselklappensteller-Strom [A]"),
    ("Вентилятор охлаждения", "Cooling fan", "Kühlerlüfter"),
    ("Скорость вентилятора", "Cooling fan speed", "Kühlerlüfterdrehzahl [%]"),
    ("Компрессор кондиционера", "A/C compressor", "Klimakompressor"),
    ("Запрос кондиционера", "A/C request", "Klimaanlage Anforderung"),
    ("Давление хладагента", "Refrigerant pressure", "Kältemitteldruck [bar]"),
    ("Продувка адсорбера", "Canister purge", "Tankentlüftung [%]"),
    ("Нагрузка на клапан продувки", "Canister purge valve duty", "Tankentlüftungsventil Tastverhältnis [%]"),
    ("Клапан рециркуляции ОГ", "EGR valve", "AGR-Ventil [%]"),
    ("Положение клапана рециркуляции ОГ", "EGR valve position", "AGR-Ventilstellung [%]"),
    ("Давление наддува", "Boost pressure", "Ladedruck [hPa]"),
    ("Желаемое давление наддува", "Desired boost pressure", "Ladedruck-Sollwert [hPa]"),
    ("Клапан управления наддувом", "Wastegate duty cycle", "Ladedruckregelventil [%]"),
    ("Температура после интеркулера", "Charge air temperature", "Ladelufttemperatur [°C]"),
    ("Относительная нагрузка", "Relative load", "Relative Last [%]"),
    ("Абсолютная нагрузка", "Absolute load", "Absolute Last [%]"),
    ("Расчетная нагрузка", "Calculated load", "Berechnete Last [%]"),
    ("Крутящий момент", "Engine torque", "Motormoment [Nm]"),
    ("Желаемый крутящий момент", "Desired engine torque", "Motor-Sollmoment [Nm]"),
    ("Момент потерь", "Friction torque", "Verlustmoment [Nm]"),
    ("Включенная передача", "Gear engaged", "Eingelegter Gang"),
    ("Селектор АКПП", "Selector lever position", "Wählhebelstellung"),
    ("Температура масла АКПП", "Gearbox oil temperature", "Getriebeöltemperatur [°C]"),
    ("Сигнал стартера", "Starter signal", "Anlassersignal (Kl. 50)"),
    ("Сигнал замка зажигания", "Ignition switch signal", "Zündung ein (Kl. 15)"),
    ("Пробег", "Mileage", "Kilometerstand [km]"),
    ("Время работы двигателя", "Engine run time", "Motorlaufzeit [s]"),
    ("Время после пуска", "Time since start", "Zeit seit Start [s]"),
    ("Число пусков", "Start counter", "Startzähler"),
    ("Счетчик пропусков зажигания", "Misfire counter", "Zündaussetzerzähler"),
    ("Неравномерность вращения", "Crankshaft roughness", "Laufunruhe"),
    ("Ускорение коленвала", "Crankshaft acceleration", "Kurbelwellenbeschleunigung"),
    ("Ток бензонасоса", "Fuel pump current", "Kraftstoffpumpenstrom [A]"),
    ("Реле бензонасоса", "Fuel pump relay", "Kraftstoffpumpenrelais"),
    ("Главное реле", "Main relay", "Hauptrelais"),
    ("Нагреватель ДК", "O2 sensor heater", "Lambdasondenheizung [%]"),
    ("Ток нагревателя ДК", "O2 sensor heater current", "Lambdasondenheizstrom [A]"),
    ("Сопротивление нагревателя ДК", "O2 sensor heater resistance", "Lambdasondenheizung Widerstand [Ohm]"),
    ("Датчик кислорода 2", "O2 Sensor 2 (mV)", "O2-Sondenspannung 2 [mV]"),
    ("Время переключения ДК", "O2 sensor switching time", "Lambdasonden-Schaltzeit [ms]"),
    ("Период колебаний ДК", "O2 sensor period", "Lambdasonden-Periodendauer [s]"),
    ("Иммобилайзер", "Immobilizer", "Wegfahrsperre"),
    ("Лампа Check Engine", "Check engine lamp", "Motorkontrollleuchte"),
    ("Разрежение во впускном коллекторе", "Intake manifold vacuum", "Saugrohrunterdruck [hPa]"),
    ("Положение заслонок впускного коллектора", "Intake flap position", "Saugrohrklappenstellung [%]"),
    ("Клапан изменения длины впускного коллектора", "Intake runner valve", "Saugrohrumschaltventil"),
    ("Скорость автомобиля (передняя ось)", "Vehicle speed (front)", "Fahrgeschwindigkeit vorn [km/h]"),
    ("Желаемая скорость круиз-контроля", "Cruise control set speed", "Tempomat-Sollgeschwindigkeit [km/h]"),
    ("Круиз-контроль", "Cruise control", "Geschwindigkeitsregelanlage"),
    ("Педаль тормоза", "Brake pedal", "Bremspedal"),
    ("Педаль сцепления", "Clutch pedal", "Kupplungspedal"),
    ("Усилитель руля", "Power steering", "Servolenkung"),
    ("Давление в системе ГУР", "Power steering pressure", "Servolenkungsdruck [bar]"),
    ("Загрузка генератора", "Alternator load", "Generatorauslastung [%]"),
    ("Напряжение генератора", "Alternator voltage", "Generatorspannung [V]"),
    ("Ток аккумулятора", "Battery current", "Batteriestrom [A]"),
    ("Напряжение питания датчиков", "Sensor supply voltage", "Geberversorgungsspannung [V]"),
    ("Опорное напряжение 5 В", "5 V reference", "Referenzspannung 5 V"),
    ("Температура ЭБУ", "ECU temperature", "Steuergerätetemperatur [°C]"),
    ("Высота над уровнем моря", "Altitude", "Höhe über Meeresspiegel [m]"),
    ("Коррекция по высоте", "Altitude correction", "Höhenkorrektur [%]"),
    ("Желаемые обороты двигателя", "Desired engine speed", "Motor-Solldrehzahl [1/min]"),
    ("Ограничение оборотов", "Engine speed limit", "Drehzahlbegrenzung [1/min]"),
    ("Ограничение скорости", "Vehicle speed limit", "Geschwindigkeitsbegrenzung [km/h]"),
    ("Октан-корректор", "Octane corrector", "Oktanzahlkorrektur"),
    ("Номер калибровки", "Calibration number", "Kalibrierungsnummer"),
    ("Вторичный воздух", "Secondary air", "Sekundärluft"),
    ("Насос вторичного воздуха", "Secondary air pump", "Sekundärluftpumpe"),
    ("Клапан вторичного воздуха", "Secondary air valve", "Sekundärluftventil"),
    ("Давление в картере", "Crankcase pressure", "Kurbelgehäusedruck [hPa]"),
    ("Вентиляция картера", "Crankcase ventilation", "Kurbelgehäuseentlüftung"),
    ("Давление в топливном баке", "Fuel tank pressure", "Tankdruck [hPa]"),
    ("Проверка герметичности топливной системы", "Fuel system leak test", "Tankdichtheitsprüfung"),
    ("Степень заполнения адсорбера", "Canister load", "Aktivkohlefilter-Beladung [%]"),
    ("Электронный термостат", "Map thermostat", "Kennfeldthermostat [%]"),
    ("Клапан сброса давления наддува", "Turbo bypass valve", "Schubumluftventil"),
    ("Обороты турбины", "Turbocharger speed", "Turboladerdrehzahl [1/min]"),
    ("Положение лопаток турбины", "Turbine vane position", "Leitschaufelstellung [%]"),
    ("Угол опережения впрыска", "Injection advance", "Spritzbeginn [°KW]"),
    ("Свечи накаливания", "Glow plugs", "Glühkerzen"),
    ("Время накаливания", "Glow time", "Glühzeit [s]"),
    ("Перепад давления на сажевом фильтре", "Particle filter differential pressure", "Partikelfilter Differenzdruck [hPa]"),
    ("Загрузка сажевого фильтра", "Particle filter load", "Partikelfilter Beladung [g]"),
    ("Цикловая подача топлива", "Injected fuel quantity", "Einspritzmenge [mg/Hub]"),
    ("Желаемая цикловая подача топлива", "Desired fuel quantity", "Soll-Einspritzmenge [mg/Hub]"),
    ("Желаемый расход воздуха", "Desired air mass", "Luftmasse Sollwert [mg/Hub]"),
    ("Масса воздуха за цикл", "Air mass per stroke", "Luftmasse pro Hub [mg/Hub]"),
    ("Коэффициент наполнения", "Volumetric efficiency", "Liefergrad [%]"),
    ("Энергия искры", "Spark energy", "Funkenenergie [mJ]"),
    ("Напряжение пробоя", "Spark voltage", "Zündspannung [kV]"),
    ("Длительность искры", "Spark duration", "Brenndauer [ms]"),
    ("Положение дроссельной заслонки, шаги", "Throttle position, steps", "Drosselklappenstellung [Schritte]"),
    ("Положение РХХ, шаги", "IAC position, steps", "Leerlaufsteller [Schritte]"),
    ("Ток РХХ", "IAC current", "Leerlaufsteller-Strom [mA]"),
    ("Расход воздуха через РХХ", "IAC air flow", "Leerlaufluftmenge [kg/h]"),
    ("Коррекция ХХ по кондиционеру", "Idle A/C correction", "Leerlaufanhebung Klima [1/min]"),
    ("Коррекция ХХ по нагрузке", "Idle load correction", "Leerlauf-Lastkorrektur [%]"),
    ("Интегратор регулятора ХХ", "Idle integrator", "Leerlaufregler Integrator"),
    ("Скорость изменения положения дросселя", "Throttle change rate", "Drosselklappen-Änderungsgeschwindigkeit [%/s]"),
    ("Ускорение автомобиля", "Vehicle acceleration", "Fahrzeugbeschleunigung [m/s2]"),
    ("Температура воздуха в салоне", "Cabin temperature", "Innenraumtemperatur [°C]"),
    ("Напряжение датчика абсолютного давления", "Manifold pressure sensor voltage", "Saugrohrdruckgeber-Spannung [V]"),
    ("Напряжение датчика детонации", "Knock sensor voltage", "Klopfsensorspannung [V]"),
    ("Частота сигнала ДМРВ", "Air mass sensor frequency", "LMM-Frequenz [Hz]"),
    ("Скважность управления бензонасосом", "Fuel pump duty cycle", "Kraftstoffpumpe Tastverhältnis [%]"),
]

CYLINDER_PARAMETERS = [
    ("Пропуски зажигания, цилиндр {n}", "Misfires, cylinder {n}", "Zündaussetzer Zylinder {n}"),
    ("Коррекция УОЗ по детонации, цилиндр {n}", "Knock retard, cylinder {n}", "Spätverstellung Zylinder {n} [°]"),
    ("Время впрыска, цилиндр {n}", "Injection time, cylinder {n}", "Einspritzzeit Zylinder {n} [ms]"),
    ("Сигнал детонации, цилиндр {n}", "Knock signal, cylinder {n}", "Klopfsignal Zylinder {n} [V]"),
    ("Неравномерность вращения, цилиндр {n}", "Roughness, cylinder {n}", "Laufunruhe Zylinder {n}"),
    ("Баланс форсунки {n}", "Injector balance {n}", "Einspritzventil {n} Abgleich [%]"),
    ("Время накопления, цилиндр {n}", "Dwell time, cylinder {n}", "Schließzeit Zylinder {n} [ms]"),
    ("Компрессия, цилиндр {n}", "Compression, cylinder {n}", "Kompression Zylinder {n} [%]"),
]

BANK_PARAMETERS = [
    ("Напряжение ДК до нейтрализатора, ряд {n}", "O2 sensor before catalyst, bank {n}", "Lambdasonde vor Kat, Bank {n} [V]"),
    ("Напряжение ДК после нейтрализатора, ряд {n}", "O2 sensor after catalyst, bank {n}", "Lambdasonde nach Kat, Bank {n} [V]"),
    ("Лямбда-регулирование, ряд {n}", "Lambda control, bank {n}", "Lambdaregelung Bank {n} [%]"),
    ("Кратковременная коррекция, ряд {n}", "Short term fuel trim, bank {n}", "Kurzzeit-Gemischkorrektur Bank {n} [%]"),
    ("Долговременная коррекция, ряд {n}", "Long term fuel trim, bank {n}", "Langzeit-Gemischkorrektur Bank {n} [%]"),
    ("Аддитивная коррекция, ряд {n}", "Additive fuel trim, bank {n}", "Gemischadaption additiv Bank {n} [ms]"),
    ("Мультипликативная коррекция, ряд {n}", "Multiplicative fuel trim, bank {n}", "Gemischadaption multiplikativ Bank {n} [%]"),
    ("Нагреватель ДК, ряд {n}", "O2 sensor heater, bank {n}", "Lambdasondenheizung Bank {n} [%]"),
    ("Температура нейтрализатора, ряд {n}", "Catalyst temperature, bank {n}", "Katalysatortemperatur Bank {n} [°C]"),
    ("Эффективность нейтрализатора, ряд {n}", "Catalyst efficiency, bank {n}", "Katalysator-Wirkungsgrad Bank {n} [%]"),
    ("Фаза впускного распредвала, ряд {n}", "Intake camshaft phase, bank {n}", "Einlassnockenwelle Bank {n} [°KW]"),
    ("Фаза выпускного распредвала, ряд {n}", "Exhaust camshaft phase, bank {n}", "Auslassnockenwelle Bank {n} [°KW]"),
]

STATES = [
    ("Холостой ход", "Idle", "Leerlauf"),
    ("Частичная нагрузка", "Part load", "Teillast"),
    ("Полная нагрузка", "Full load", "Volllast"),
    ("Принудительный холостой ход", "Overrun fuel cut-off", "Schubabschaltung"),
    ("Прогрев двигателя", "Engine warm-up", "Warmlauf"),
    ("Обогащение после пуска", "After-start enrichment", "Nachstartanreicherung"),
    ("Обогащение при ускорении", "Acceleration enrichment", "Beschleunigungsanreicherung"),
    ("Обеднение при торможении", "Deceleration enleanment", "Verzögerungsabmagerung"),
    ("Пуск двигателя", "Engine cranking", "Startvorgang"),
    ("Обратная связь по ДК", "Closed loop", "Lambdaregelung aktiv"),
    ("Разомкнутый контур", "Open loop", "Lambdaregelung inaktiv"),
    ("Детонация", "Knock detected", "Klopfen erkannt"),
    ("Продувка адсорбера включена", "Canister purge active", "Tankentlüftung aktiv"),
    ("Кондиционер включен", "A/C on", "Klimaanlage ein"),
    ("Вентилятор включен", "Fan on", "Lüfter ein"),
    ("Бензонасос включен", "Fuel pump on", "Kraftstoffpumpe ein"),
    ("Ограничение оборотов активно", "Rev limiter active", "Drehzahlbegrenzer aktiv"),
    ("Аварийный режим", "Limp home mode", "Notlauf"),
    ("Адаптация активна", "Adaptation active", "Adaption aktiv"),
    ("Диагностика нейтрализатора", "Catalyst diagnosis", "Katalysatordiagnose"),
    ("Диагностика ДК", "O2 sensor diagnosis", "Lambdasondendiagnose"),
    ("Диагностика пропусков зажигания", "Misfire diagnosis", "Zündaussetzererkennung"),
    ("Нагрев нейтрализатора", "Catalyst heating", "Katalysatorheizen"),
    ("Нейтраль", "Neutral", "Neutralstellung"),
    ("Движение", "Vehicle moving", "Fahrzeug fährt"),
    ("Стоянка", "Vehicle stopped", "Fahrzeug steht"),
    ("Зажигание включено", "Ignition on", "Zündung ein"),
    ("Зажигание выключено", "Ignition off", "Zündung aus"),
    ("Иммобилайзер разблокирован", "Immobilizer released", "Wegfahrsperre freigegeben"),
    ("Иммобилайзер заблокирован", "Immobilizer locked", "Wegfahrsperre gesperrt"),
    ("Кик-даун", "Kick-down", "Kickdown"),
    ("Тормоз нажат", "Brake pressed", "Bremse betätigt"),
    ("Сцепление выжато", "Clutch pressed", "Kupplung getreten"),
    ("Круиз-контроль активен", "Cruise control active", "Tempomat aktiv"),
    ("Регулирование ХХ активно", "Idle control active", "Leerlaufregelung aktiv"),
    ("Дроссель закрыт", "Throttle closed", "Drosselklappe geschlossen"),
    ("Дроссель открыт полностью", "Throttle wide open", "Drosselklappe voll geöffnet"),
    ("Отсечка топлива", "Fuel cut", "Kraftstoffabschaltung"),
    ("Обогащение на полной нагрузке", "Full load enrichment", "Volllastanreicherung"),
    ("Защита нейтрализатора", "Catalyst protection", "Katalysatorschutz"),
    ("Регулирование детонации активно", "Knock control active", "Klopfregelung aktiv"),
    ("Фазовращатель активен", "Cam phaser active", "Nockenwellenverstellung aktiv"),
    ("Наддув активен", "Boost control active", "Ladedruckregelung aktiv"),
    ("Рециркуляция ОГ активна", "EGR active", "Abgasrückführung aktiv"),
    ("Вторичный воздух активен", "Secondary air active", "Sekundärluft aktiv"),
    ("Ожидание прогрева ДК", "Waiting O2 sensor warm-up", "Warte auf Lambdasondenbereitschaft"),
    ("Двигатель прогрет", "Engine warm", "Motor betriebswarm"),
    ("Холодный пуск", "Cold start", "Kaltstart"),
    ("Горячий пуск", "Hot start", "Heißstart"),
]

FAULT_PARTS = [
    ("Датчик температуры ОЖ", "Coolant temperature sensor", "Kühlmitteltemperaturgeber"),
    ("Датчик температуры воздуха", "Intake air temperature sensor", "Ansauglufttemperaturgeber"),
    ("Датчик массового расхода воздуха", "Air mass meter", "Luftmassenmesser"),
    ("Датчик положения дроссельной заслонки", "Throttle position sensor", "Drosselklappenpotentiometer"),
    ("Датчик кислорода", "Oxygen sensor", "Lambdasonde"),
    ("Датчик кислорода после нейтрализатора", "Oxygen sensor after catalyst", "Lambdasonde nach Katalysator"),
    ("Датчик детонации", "Knock sensor", "Klopfsensor"),
    ("Датчик положения коленвала", "Crankshaft position sensor", "Kurbelwellengeber"),
    ("Датчик положения распредвала", "Camshaft position sensor", "Nockenwellengeber"),
    ("Датчик скорости", "Vehicle speed sensor", "Geschwindigkeitsgeber"),
    ("Датчик абсолютного давления", "Manifold pressure sensor", "Saugrohrdruckgeber"),
    ("Датчик положения педали", "Pedal position sensor", "Fahrpedalgeber"),
    ("Регулятор холостого хода", "Idle air control valve", "Leerlaufsteller"),
    ("Клапан продувки адсорбера", "Canister purge valve", "Tankentlüftungsventil"),
    ("Нагреватель датчика кислорода", "Oxygen sensor heater", "Lambdasondenheizung"),
    ("Датчик давления топлива", "Fuel pressure sensor", "Kraftstoffdruckgeber"),
]

FAULT_KINDS = [
    ("обрыв цепи", "open circuit", "Unterbrechung"),
    ("замыкание на массу", "short to ground", "Kurzschluss nach Masse"),
    ("замыкание на питание", "short to battery", "Kurzschluss nach Plus"),
    ("сигнал вне диапазона", "signal out of range", "Signal außerhalb des Bereichs"),
    ("неправдоподобный сигнал", "implausible signal", "Signal unplausibel"),
    ("нет сигнала", "no signal", "kein Signal"),
]

ACTUATOR_TESTS = [
    ("Тест бензонасоса", "Fuel pump test", "Kraftstoffpumpe Test"),
    ("Тест вентилятора", "Cooling fan test", "Kühlerlüfter Test"),
    ("Тест клапана продувки адсорбера", "Canister purge valve test", "Tankentlüftungsventil Test"),
    ("Тест регулятора ХХ", "Idle air control test", "Leerlaufsteller Test"),
    ("Тест лампы Check Engine", "Check engine lamp test", "Motorkontrollleuchte Test"),
    ("Тест реле кондиционера", "A/C relay test", "Klimarelais Test"),
    ("Тест клапана рециркуляции ОГ", "EGR valve test", "AGR-Ventil Test"),
    ("Тест тахометра", "Tachometer test", "Drehzahlmesser Test"),
    ("Тест привода дроссельной заслонки", "Throttle actuator test", "Drosselklappensteller Test"),
    ("Тест клапана управления наддувом", "Wastegate valve test", "Ladedruckregelventil Test"),
    ("Тест насоса вторичного воздуха", "Secondary air pump test", "Sekundärluftpumpe Test"),
    ("Тест фазовращателя", "Cam phaser test", "Nockenwellenversteller Test"),
]

CYLINDER_TESTS = [
    ("Тест форсунки {n}", "Injector {n} test", "Einspritzventil {n} Test"),
    ("Тест катушки зажигания {n}", "Ignition coil {n} test", "Zündspule {n} Test"),
]


def per_number(templates, numbers):
    return [tuple(f.format(n=n) for f in t) for t in templates for n in numbers]


def fillers():
    return (MESSAGES + PARAMETERS
            + per_number(CYLINDER_PARAMETERS, range(1, 9))
            + per_number(BANK_PARAMETERS, (1, 2))
            + STATES
            + [tuple(f"{p}: {k}" for p, k in zip(part, kind)) for part in FAULT_PARTS for kind in FAULT_KINDS]
            + ACTUATOR_TESTS
            + per_number(CYLINDER_TESTS, range(1, 9)))


def build():
    rest = iter(fillers())
    entries = []
    for index in range(ENTRY_COUNT):
        if index in PINNED:
            ru, en, de = PINNED[index]
            entries.append((ru, en, ru if de is SAME_AS_RU else de, de is SAME_AS_RU))
        else:
            try:
                entries.append((*next(rest), False))
            except StopIteration:
                sys.exit(f"too few entries: position {index} has none")
    left = sum(1 for _ in rest)
    if left:
        sys.exit(f"{left} entries too many")
    return entries


def check(entries):
    group_of = {i: n for n, group in enumerate(DUPLICATE_GROUPS) for i in group}
    seen = {}
    for index, (ru, en, de, _) in enumerate(entries):
        for field in (ru, en, de):
            if not field or field != field.strip(" ") or any(c in field for c in "\t\r\n"):
                sys.exit(f"entry {index}: bad field {field!r}")
            if field in ABSENT:
                sys.exit(f"entry {index}: {field!r} must have no entry")
            other = seen.setdefault(field, index)
            if other != index and (other not in group_of or group_of.get(index) != group_of[other]):
                sys.exit(f"entries {other} and {index} share {field!r}")


def encode(entries):
    lines = []
    for ru, en, de, de_is_ru in entries:
        lines.append(ru.encode("cp1251"))
        lines.append(en.encode("cp1252"))
        lines.append(de.encode("cp1251" if de_is_ru else "cp1252"))
    return b"".join(line + b"\r\n" for line in lines)


def main():
    out = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).resolve().parent.parent / "resources" / "dictred.txt"
    entries = build()
    check(entries)
    data = encode(entries)
    out.write_bytes(data)
    print(f"{out}: {len(entries)} entries, {len(entries) * 3} lines, {len(data)} bytes")


if __name__ == "__main__":
    main()
