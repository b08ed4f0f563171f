-- The empty case every "Новый" starts from: the design headings and two unnamed natural persons.
INSERT INTO "Поля" VALUES (1,
    'Наименование', 'Цена|1 стороны', 'Цена|2 стороны', 'Цена|Согласованная', 'Оценка',
    '1_ц1', '1_ц2', '1_цc', '2_с1ц1', '2_ц2', '2_цс', 'Заметки',
    0, '', '', '', '', '',
    0, '', '', '', '', '',
    '');
