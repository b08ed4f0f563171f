-- The layout of every case: the property list and the one row of case settings.
PRAGMA journal_mode = DELETE;

CREATE TABLE "Таблица" (
    "Код" INTEGER PRIMARY KEY,
    "Наименование" TEXT,
    "Заметки" TEXT,
    "Цена 1" REAL,
    "Цена 2" REAL,
    "Согласованная цена" REAL,
    "Оценка" TEXT,
    "1_ц1" INTEGER,
    "1_ц2" INTEGER,
    "1_цc" INTEGER,
    "2_ц1" INTEGER,
    "2_ц2" INTEGER,
    "2_цс" INTEGER
);

CREATE TABLE "Поля" (
    "Код" INTEGER PRIMARY KEY,
    "Заголовок 1" TEXT, "Заголовок 2" TEXT, "Заголовок 3" TEXT, "Заголовок 4" TEXT,
    "Заголовок 5" TEXT, "Заголовок 6" TEXT, "Заголовок 7" TEXT, "Заголовок 8" TEXT,
    "Заголовок 9" TEXT, "Заголовок 10" TEXT, "Заголовок 11" TEXT, "Заголовок 12" TEXT,
    "Юр_Л1" INTEGER,
    "Фамилия 1" TEXT, "Имя 1" TEXT, "Отчество 1" TEXT, "Юр_Лицо 1" TEXT, "Адрес 1" TEXT,
    "Юр_Л2" INTEGER,
    "Фамилия 2" TEXT, "Имя 2" TEXT, "Отчество 2" TEXT, "Юр_Лицо 2" TEXT, "Адрес 2" TEXT,
    "Наименование_Полное" TEXT
);
